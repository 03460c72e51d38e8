#include "design/tesla_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "design/design_effects.h"
#include "design/tesla.h"
#include "shell/error_box.h"
#include "shell/nedit.h"
#include "shell/widgets.h"

namespace kovaro {

TForm4::TForm4(AppState& state, TForm1& main, TForm3& elements)
    : state_(state), main_(main), elements_(elements) {
  InitWindow(this, "TForm4", QStringLiteral("Regular Tesla coil"), 330, 230);
  const TeslaInputs initial;
  MakeLabel(this, QStringLiteral("Mode:"), 8, 4);
  QFont mode_font = font();
  mode_font.setBold(true);
  mode_font.setItalic(true);
  MakeLabel(this, QStringLiteral("k"), 8, 24)->setFont(mode_font);
  NEk = MakeField(this, "NEk", 24, 24, 48, 0, initial.k, int_field);
  MakeLabel(this, QStringLiteral("l"), 8, 48)->setFont(mode_font);
  NEl = MakeField(this, "NEl", 24, 48, 48, 0, initial.l, int_field);
  MakeLabel(this, QStringLiteral("Elements:"), 96, 4);
  MakeLabel(this, QStringLiteral("Ca"), 96, 24);
  NECa = MakeField(this, "NECa", 120, 24, 88, initial.C1);
  MakeLabel(this, QStringLiteral("Lb"), 96, 48);
  NElb = MakeField(this, "NElb", 120, 48, 88, initial.L2);
  MakeLabel(this, QStringLiteral("Cb"), 96, 72);
  NEcb = MakeField(this, "NEcb", 120, 72, 88, initial.C2);
  MakeLabel(this, QStringLiteral("Energy transfers/semicycle"), 8, 104);
  NEtran = MakeField(this, "NEtran", 160, 104, 48, initial.transfers);
  CBupdate = MakeCheck(this, "CBupdate", QStringLiteral("Update"), 8, 136, initial.update);
  Bapply = MakeButton(this, "Bapply", QStringLiteral("Apply"), 224, 24, 80);
  connect(Bapply, &QPushButton::clicked, this, [this] { BapplyClick(); });
}

TeslaInputs TForm4::Read() const {
  TeslaInputs in;
  in.k = NEk->panel_int();
  in.l = NEl->panel_int();
  in.C1 = NECa->panel_real();
  in.L2 = NElb->panel_real();
  in.C2 = NEcb->panel_real();
  in.transfers = NEtran->panel_real();
  in.update = CBupdate->isChecked();
  return in;
}

void TForm4::BapplyClick() {
  Guarded(this, [this] {
    DesignEffects effects(main_, elements_, *this);
    DesignRegularCoil(Read(), state_, effects);
  });
}

}  // namespace kovaro
