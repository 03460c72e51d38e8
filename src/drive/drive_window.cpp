#include "drive/drive_window.h"

#include <QGroupBox>
#include <QPushButton>

#include "app/main_window.h"
#include "design/design_effects.h"
#include "elements/element_window.h"
#include "shell/error_box.h"
#include "shell/nedit.h"
#include "shell/radio_group.h"
#include "shell/widgets.h"

namespace kovaro {
namespace {

QGroupBox* Group(QWidget* parent, const QString& title, int x, int y, int height) {
  return MakeGroup(parent, title, x, y, 274, height);
}

// The n-th labelled field of a frame.
TNEdit* Row(QGroupBox* group, const char* name, const QString& caption, int n, Real value) {
  return MakeCaptionedField(group, caption, 8, name, 178, 20 + 24 * n, 88, value);
}

}  // namespace

TFdrive::TFdrive(AppState& state, TForm1& main, TForm3& elements)
    : state_(state), main_(main), elements_(elements) {
  InitWindow(this, "TFdrive", QStringLiteral("Drive and bank"), 580, 340);
  const DriveInputs initial;
  QGroupBox* bank = Group(this, QStringLiteral("One capacitor of the bank"), 8, 8, 172);
  NEdcap = Row(bank, "NEdcap", QStringLiteral("Capacitance (F)"), 0, initial.capacitance);
  NEdvr = Row(bank, "NEdvr", QStringLiteral("DC voltage rating (V)"), 1, initial.voltage_rating);
  NEdir = Row(bank, "NEdir", QStringLiteral("Peak current rating (A)"), 2, initial.current_rating);
  NEddv = Row(bank, "NEddv", QStringLiteral("dV/dt rating (V/us)"), 3, initial.dvdt_rating);
  NEdtan = Row(bank, "NEdtan", QStringLiteral("Dissipation factor (tan delta)"), 4, initial.tan_delta);
  NEdmargin = Row(bank, "NEdmargin", QStringLiteral("Voltage margin"), 5, initial.margin);
  NEdmargin->setToolTip(QStringLiteral("The bank's rating over the run's largest |VCa|, at least 1"));
  QGroupBox* limit = Group(this, QStringLiteral("Bridge"), 8, 188, 52);
  NEdocd = Row(limit, "NEdocd", QStringLiteral("Over-current limit (A)"), 0, initial.current_limit);

  QGroupBox* bursts = Group(this, QStringLiteral("Bursts"), 290, 8, 76);
  NEdon = Row(bursts, "NEdon", QStringLiteral("Burst on-time (s)"), 0, initial.on_time);
  NEdbps = Row(bursts, "NEdbps", QStringLiteral("Bursts per second (Hz)"), 1, initial.rate);
  QGroupBox* streamers = Group(this, QStringLiteral("Streamers"), 290, 92, 148);
  NEdslen = Row(streamers, "NEdslen", QStringLiteral("Streamer length (m)"), 0, initial.streamer_length);
  NEdscap = Row(streamers, "NEdscap", QStringLiteral("Streamer capacitance (F/m)"), 1,
                initial.streamer_capacitance);
  NEdscap->setToolTip(QStringLiteral("Builders' rule: about 1 pF per foot"));
  RGdsr = new RadioGroup(QStringLiteral("Resistance"),
                         {QStringLiteral("Fixed"), QStringLiteral("Its reactance")}, 2, streamers);
  RGdsr->setObjectName(QStringLiteral("RGdsr"));
  RGdsr->setGeometry(8, 68, 258, 40);
  RGdsr->setItemIndex(initial.reactance_resistance ? 1 : 0);
  NEdsr = MakeCaptionedField(streamers, QStringLiteral("Streamer resistance (ohm)"), 8, "NEdsr", 178, 116, 88,
                             initial.streamer_resistance);

  Bdcalc = MakeButton(this, "Bdcalc", QStringLiteral("Calculate"), 290, 250, 130);
  Bdapply = MakeButton(this, "Bdapply", QStringLiteral("Apply streamer load"), 426, 250, 138);
  Bdapply->setToolTip(
      QStringLiteral("Cb + the streamers' capacitance and their resistance as Rb, into the elements"));
  connect(Bdcalc, &QPushButton::clicked, this, [this] { BdcalcClick(); });
  connect(Bdapply, &QPushButton::clicked, this, [this] { BdapplyClick(); });
}

DriveInputs TFdrive::Read() const {
  DriveInputs in;
  in.capacitance = NEdcap->panel_real();
  in.voltage_rating = NEdvr->panel_real();
  in.current_rating = NEdir->panel_real();
  in.dvdt_rating = NEddv->panel_real();
  in.tan_delta = NEdtan->panel_real();
  in.margin = NEdmargin->panel_real();
  in.current_limit = NEdocd->panel_real();
  in.on_time = NEdon->panel_real();
  in.rate = NEdbps->panel_real();
  in.streamer_length = NEdslen->panel_real();
  in.streamer_capacitance = NEdscap->panel_real();
  in.reactance_resistance = RGdsr->itemIndex() == 1;
  in.streamer_resistance = NEdsr->panel_real();
  return in;
}

void TFdrive::BdcalcClick() {
  Guarded(this, [this] { SizeBank(Read(), state_, applied_, main_); });
}

void TFdrive::BdapplyClick() {
  Guarded(this, [this] {
    DesignEffects effects(main_, elements_, *this);
    applied_ = ApplyStreamerLoad(Read(), applied_, state_, effects);
  });
}

}  // namespace kovaro
