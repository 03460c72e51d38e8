#include "frequency/frequency_chart.h"

#include <QCategoryAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <cmath>

#include "chart/chart_axis.h"

namespace kovaro {
// The view owns the chart it is built with (a chart set later would leave its first one).
FrequencyChart::FrequencyChart(QWidget* parent) : QChartView(new QChart(), parent) {
  setObjectName(QStringLiteral("Chart"));
  setMouseTracking(true);
  setRenderHint(QPainter::Antialiasing);
  QChart* chart = this->chart();
  chart->setMargins(QMargins(4, 4, 4, 4));
  Gain = new QLineSeries(chart);
  Gain->setName(QStringLiteral("|VCb/Vdrive| (dB)"));
  Impedance = new QLineSeries(chart);
  Impedance->setName(QStringLiteral("|Zin| (ohm)"));
  chart->addSeries(Gain);
  chart->addSeries(Impedance);
  FrequencyAxis = MakeScaleAxis(chart);
  FrequencyAxis->setTitleText(QStringLiteral("Frequency (Hz)"));
  DecibelAxis = MakeScaleAxis(chart);
  DecibelAxis->setTitleText(QStringLiteral("Gain (dB)"));
  OhmAxis = MakeScaleAxis(chart);
  OhmAxis->setTitleText(QStringLiteral("|Zin| (ohm)"));
  OhmAxis->setGridLineVisible(false);  // the grid follows the gain's axis
  chart->addAxis(FrequencyAxis, Qt::AlignBottom);
  chart->addAxis(DecibelAxis, Qt::AlignLeft);
  chart->addAxis(OhmAxis, Qt::AlignRight);
  Gain->attachAxis(FrequencyAxis);
  Gain->attachAxis(DecibelAxis);
  Impedance->attachAxis(FrequencyAxis);
  Impedance->attachAxis(OhmAxis);
}

void FrequencyChart::Show(const FrequencyPlot& plot) {
  const AxisScale frequency = AxisScale::Logarithmic(plot.f.front(), plot.f.back());
  const AxisScale decibels = FitLinear(plot.decibels, 1);
  const AxisScale ohms = FitLogarithmic(plot.ohms);
  Gain->replace(PlacedPoints(frequency, plot.f, decibels, plot.decibels));
  Impedance->replace(PlacedPoints(frequency, plot.f, ohms, plot.ohms));
  ShowScale(FrequencyAxis, frequency);
  ShowScale(DecibelAxis, decibels);
  ShowScale(OhmAxis, ohms);
  frequency_ = frequency;

  for (QLineSeries* line : modes_) chart()->removeSeries(line);
  qDeleteAll(modes_);
  modes_.clear();
  for (const Mode& m : plot.modes) {
    if (!m.oscillating || m.f < plot.f.front() || m.f > plot.f.back()) continue;
    auto* line = new QLineSeries(chart());
    line->setName(QStringLiteral("Modes"));
    line->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    const double x = frequency.Position(m.f);
    line->append(x, 0);
    line->append(x, 1);
    chart()->addSeries(line);
    line->attachAxis(FrequencyAxis);
    line->attachAxis(DecibelAxis);
    if (!modes_.empty()) chart()->legend()->markers(line).first()->setVisible(false);
    modes_.push_back(line);
  }
}

void FrequencyChart::mouseMoveEvent(QMouseEvent* event) {
  QChartView::mouseMoveEvent(event);
  const QPointF pos = event->position();
  if (OnHover && frequency_ && chart()->plotArea().contains(pos))
    OnHover(frequency_->ValueAt(chart()->mapToValue(pos, Gain).x()));
}

}  // namespace kovaro
