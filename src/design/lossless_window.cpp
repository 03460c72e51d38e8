#include "design/lossless_window.h"

#include <QCheckBox>
#include <QPushButton>

#include "app/main_window.h"
#include "design/design_effects.h"
#include "design/lossless.h"
#include "shell/error_box.h"
#include "shell/nedit.h"
#include "shell/radio_group.h"
#include "shell/widgets.h"

namespace kovaro {

TFlossless::TFlossless(AppState& state, TForm1& main, TForm3& elements)
    : state_(state), main_(main), elements_(elements) {
  InitWindow(this, "TFlossless", QStringLiteral("Lossless design"), 440, 230);
  const LosslessInputs initial;
  MakeLabel(this, QStringLiteral("k"), 8, 8);
  NEk = MakeField(this, "NEk", 40, 8, 80, initial.k);
  MakeLabel(this, QStringLiteral("l"), 8, 32);
  NEl = MakeField(this, "NEl", 40, 32, 80, initial.l);
  MakeLabel(this, QStringLiteral("m"), 8, 56);
  NEm = MakeField(this, "NEm", 40, 56, 80, initial.m);
  MakeLabel(this, QStringLiteral("Ca (F)"), 136, 8);
  NECa = MakeField(this, "NECa", 184, 8, 88, initial.Ca);
  MakeLabel(this, QStringLiteral("Lb (H)"), 136, 32);
  NELb = MakeField(this, "NELb", 184, 32, 88, initial.Lb);
  MakeLabel(this, QStringLiteral("Cb (F)"), 136, 56);
  NECb = MakeField(this, "NECb", 184, 56, 88, initial.Cb);
  RGfin = new RadioGroup(
      QStringLiteral("Input signal"),
      {QStringLiteral("Cosinusoid between resonances"), QStringLiteral("Sinusoid between resonances"),
       QStringLiteral("Sinusoid above resonances")},
      1, this);
  RGfin->setObjectName(QStringLiteral("RGfin"));
  RGfin->setGeometry(8, 88, 264, 72);
  RGfin->setItemIndex(static_cast<int>(initial.input_signal));
  CBsspp = MakeCheck(this, "CBsspp", QStringLiteral("Use series LC - parallel LC prototype"), 8, 166,
                     initial.series_parallel);
  Blossless = MakeButton(this, "Blossless", QStringLiteral("Design"), 288, 8, 120);
  connect(Blossless, &QPushButton::clicked, this, [this] { BlosslessClick(); });
}

LosslessInputs TFlossless::Read() const {
  LosslessInputs in;
  in.k = NEk->panel_real();
  in.l = NEl->panel_real();
  in.m = NEm->panel_real();
  in.Ca = NECa->panel_real();
  in.Lb = NELb->panel_real();
  in.Cb = NECb->panel_real();
  in.input_signal = static_cast<InputSignal>(RGfin->itemIndex());
  in.series_parallel = CBsspp->isChecked();
  in.vin = main_.NEvin->panel_real();
  in.details = main_.CBdetails->isChecked();
  return in;
}

void TFlossless::BlosslessClick() {
  Guarded(this, [this] {
    DesignEffects effects(main_, elements_, *this);
    DesignLossless(Read(), state_, effects);
  });
}

}  // namespace kovaro
