#include "frequency/frequency_window.h"

#include <QLabel>
#include <QPushButton>

#include "app/main_window.h"
#include "frequency/frequency_chart.h"
#include "frequency/frequency_plot.h"
#include "shell/error_box.h"
#include "shell/float_error.h"
#include "shell/format.h"
#include "shell/nedit.h"
#include "shell/numeric_text.h"
#include "shell/widgets.h"

namespace kovaro {
namespace {

constexpr int kTop = 38;      // below the row of fields
constexpr int kReadout = 20;  // the readout line along the bottom

QString Degrees(Complex z) {
  return QString::fromStdString(FormatReal(PhaseDegrees(z), 1, 2)) + QStringLiteral("\u00B0");
}

}  // namespace

TFfrequency::TFfrequency(AppState& state, TForm1& main) : state_(state), main_(main) {
  InitWindow(this, "TFfrequency", QStringLiteral("Frequency response"), 720, 540, false);
  NEflo = MakeCaptionedField(this, QStringLiteral("From (Hz)"), 8, "NEflo", 64, 8, 90, 1000);
  NEfhi = MakeCaptionedField(this, QStringLiteral("To (Hz)"), 164, "NEfhi", 208, 8, 90, 1000000);
  NEfpts = MakeCaptionedField(this, QStringLiteral("Points"), 308, "NEfpts", 348, 8, 60, 0, 1000, int_field);
  Bfplot = MakeButton(this, "Bfplot", QStringLiteral("Plot"), 420, 6, 80);
  Bnetlist = MakeButton(this, "Bnetlist", QStringLiteral("Export SPICE netlist"), 508, 6, 137);
  Chart = new FrequencyChart(this);
  Chart->OnHover = [this](Real f) { ShowReadout(f); };
  Readout = new QLabel(this);
  Readout->setObjectName(QStringLiteral("Readout"));
  connect(Bfplot, &QPushButton::clicked, this, [this] { BfplotClick(); });
  connect(Bnetlist, &QPushButton::clicked, this, [this] { BnetlistClick(); });
}

FrequencyRange TFfrequency::Range() const {
  const FrequencyRange range{NEflo->panel_real(), NEfhi->panel_real(), NEfpts->panel_int()};
  ValidateRange(range);
  return range;
}

void TFfrequency::BfplotClick() {
  Guarded(this, [this] {
    const BusyCursor busy;  // many points, or a chart of many, take long
    const FrequencyPlot plot =
        PlotFrequencyResponse(state_.Elements, main_.ReadSettings().RemoveLoad, Range(), main_);
    Chart->Show(plot);
    plotted_ = plot.circuit;
    Readout->clear();
  });
}

void TFfrequency::BnetlistClick() {
  Guarded(this, [this] {
    const BusyCursor busy;
    ExportNetlist(state_.DesignName, state_.Elements, main_.ReadSettings(), Range(), main_);
  });
}

void TFfrequency::ShowReadout(Real f) {
  if (!plotted_) return;
  try {
    const Response r = FrequencyResponse(*plotted_, f);
    Readout->setText(QStringLiteral("f=%1 Hz   gain=%2 dB (%3)   |Zin|=%4 ohm (%5)")
                         .arg(QString::fromStdString(ShortText(f, 7)),
                              QString::fromStdString(ShortText(Decibels(r.gain), 6)), Degrees(r.gain),
                              QString::fromStdString(ShortText(std::abs(r.impedance), 6)),
                              Degrees(r.impedance)));
  } catch (const FloatError&) {
    Readout->clear();  // exactly on an undamped mode: no finite value to show
  }
}

void TFfrequency::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The first opening after the elements changed centres the range on their modes; a
  // circuit that has none (or cannot be built yet) keeps the fields as they are.
  if (ranged_for_ == state_.Elements) return;
  ranged_for_ = state_.Elements;
  try {
    const auto range =
        RangeAroundModes(NaturalModes(BuildCircuit(state_.Elements, main_.ReadSettings().RemoveLoad)));
    if (!range) return;
    NEflo->setPanelReal(range->from);
    NEfhi->setPanelReal(range->to);
    NEfpts->setPanelInt(range->points);
  } catch (const FloatError&) {
  }
}

void TFfrequency::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Chart->setGeometry(0, kTop, width(), height() - kTop - kReadout);
  Readout->setGeometry(8, height() - kReadout, width() - 16, kReadout);
}

}  // namespace kovaro
