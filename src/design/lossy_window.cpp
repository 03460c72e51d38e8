#include "design/lossy_window.h"

#include <QCheckBox>
#include <QPushButton>

#include "app/main_window.h"
#include "design/design_effects.h"
#include "shell/error_box.h"
#include "shell/nedit.h"
#include "shell/radio_group.h"
#include "shell/widgets.h"

namespace kovaro {

TFlossy::TFlossy(AppState& state, TForm1& main, TForm3& elements)
    : state_(state), main_(main), elements_(elements) {
  InitWindow(this, "TFlossy", QStringLiteral("Lossy design"), 531, 241);
  const LossyInputs initial;
  MakeLabel(this, QStringLiteral("Input frequency (Hz)"), 8, 8);
  NEfreq = MakeField(this, "NEfreq", 120, 8, 72, initial.freq);
  MakeLabel(this, QStringLiteral("Input max. current (A)"), 8, 32);
  NEiin = MakeField(this, "NEiin", 120, 32, 72, initial.iin);
  MakeLabel(this, QStringLiteral("Voltage gain"), 8, 56);
  NEn = MakeField(this, "NEn", 120, 56, 72, initial.gain);
  MakeLabel(this, QStringLiteral("Bandwidth (Hz)"), 8, 80);
  NEb = MakeField(this, "NEb", 120, 80, 72, initial.bandwidth);
  CBsquare = MakeCheck(this, "CBsquare", QStringLiteral("Square wave input"), 8, 106, initial.square);
  RGdesign =
      new RadioGroup(QStringLiteral("Lossy design"),
                     {QStringLiteral("Doubly terminated"), QStringLiteral("Singly terminated")}, 1, this);
  RGdesign->setObjectName(QStringLiteral("RGdesign"));
  RGdesign->setGeometry(8, 130, 184, 56);
  RGdesign->setItemIndex(0);

  MakeFrame(this, 200, 8, 152, 100);
  // Labels from just inside the frame, fields to its right edge: "Output capacitance" fits.
  MakeLabel(this, QStringLiteral("Output energy"), 205, 16);
  NEe = MakeField(this, "NEe", 304, 16, 44, initial.energy);
  NEe->setToolTip(QStringLiteral("Energy stored in Cb"));
  MakeLabel(this, QStringLiteral("Output capacitance"), 205, 40);
  NEcb = MakeField(this, "NEcb", 304, 40, 44, initial.ct);
  NEcb->setToolTip(QStringLiteral("This is Cb"));
  Button2 = MakeButton(this, "Button2", QStringLiteral("Set"), 208, 72, 136);
  Button2->setToolTip(QStringLiteral("Changes gain and bandwidth"));
  Bdesign = MakeButton(this, "Bdesign", QStringLiteral("Design"), 208, 120, 136);

  MakeFrame(this, 360, 8, 155, 140);
  MakeLabel(this, QStringLiteral("Ca"), 368, 16);
  NECa1 = MakeField(this, "NECa1", 432, 16, 76, initial.Ca1);
  MakeLabel(this, QStringLiteral("Cb"), 368, 40);
  NECb1 = MakeField(this, "NECb1", 432, 40, 76, initial.Cb1);
  MakeLabel(this, QStringLiteral("Lb"), 368, 64);
  NELb1 = MakeField(this, "NELb1", 432, 64, 76, initial.Lb1);
  MakeLabel(this, QStringLiteral("Iin max (A)"), 368, 88);
  NEiin1 = MakeField(this, "NEiin1", 432, 88, 76, initial.iin1);
  Button1 = MakeButton(this, "Button1", QStringLiteral("Design from elements"), 368, 116, 140);

  connect(Bdesign, &QPushButton::clicked, this, [this] { BdesignClick(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}

LossyInputs TFlossy::Read() const {
  LossyInputs in;
  in.freq = NEfreq->panel_real();
  in.iin = NEiin->panel_real();
  in.gain = NEn->panel_real();
  in.bandwidth = NEb->panel_real();
  in.square = CBsquare->isChecked();
  in.termination = static_cast<Termination>(RGdesign->itemIndex());
  in.energy = NEe->panel_real();
  in.ct = NEcb->panel_real();
  in.Ca1 = NECa1->panel_real();
  in.Cb1 = NECb1->panel_real();
  in.Lb1 = NELb1->panel_real();
  in.iin1 = NEiin1->panel_real();
  in.vin = main_.NEvin->panel_real();
  in.details = main_.CBdetails->isChecked();
  return in;
}

template <class Action>
void TFlossy::Run(Action action) {
  Guarded(this, [&] {
    DesignEffects effects(main_, elements_, *this, NEb, NEn);
    action(Read(), effects);
  });
}

void TFlossy::BdesignClick() {
  Run([this](const LossyInputs& in, DesignHost& host) { DesignLossy(in, state_, host); });
}

void TFlossy::Button2Click() {
  Run([](const LossyInputs& in, DesignHost& host) { SetGainAndBandwidth(in, host); });
}

void TFlossy::Button1Click() {
  Run([this](const LossyInputs& in, DesignHost& host) { DesignLossyFromElements(in, state_, host); });
}

}  // namespace kovaro
