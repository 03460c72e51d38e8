#include "sweep/sweep_chart.h"

#include <QCategoryAxis>
#include <QLineSeries>
#include <cmath>

#include "chart/chart_axis.h"

namespace kovaro {
// The view owns the chart it is built with (a chart set later would leave its first one).
SweepChart::SweepChart(QWidget* parent) : QChartView(new QChart(), parent) {
  setObjectName(QStringLiteral("Chart"));
  setRenderHint(QPainter::Antialiasing);
  QChart* chart = this->chart();
  chart->setMargins(QMargins(4, 4, 4, 4));
  Vcb = new QLineSeries(chart);
  Vcb->setName(QStringLiteral("|Maximum VCb| (V)"));
  Gain = new QLineSeries(chart);
  Gain->setName(QStringLiteral("|Maximum voltage gain|"));
  Ratio = new QLineSeries(chart);
  Ratio->setName(QStringLiteral("Ratio of maximum energies"));
  for (QLineSeries* s : {Vcb, Gain, Ratio}) {
    s->setPointsVisible(true);
    chart->addSeries(s);
  }
  // The gain follows |VCb| unless the input voltage is swept: dashed, so that both show (the
  // theme's colour is given when the series is added).
  QPen dashed = Gain->pen();
  dashed.setStyle(Qt::DashLine);
  Gain->setPen(dashed);
  SweptAxis = MakeScaleAxis(chart);
  VoltAxis = MakeScaleAxis(chart);
  VoltAxis->setTitleText(QStringLiteral("|Maximum VCb| (V)"));
  GainAxis = MakeScaleAxis(chart);
  GainAxis->setTitleText(QStringLiteral("|Gain|"));
  RatioAxis = MakeScaleAxis(chart);
  RatioAxis->setTitleText(QStringLiteral("Energy ratio"));
  // The grid follows the left axis; the right ones' lines would cross it.
  GainAxis->setGridLineVisible(false);
  RatioAxis->setGridLineVisible(false);
  chart->addAxis(SweptAxis, Qt::AlignBottom);
  chart->addAxis(VoltAxis, Qt::AlignLeft);
  chart->addAxis(GainAxis, Qt::AlignRight);
  chart->addAxis(RatioAxis, Qt::AlignRight);
  Vcb->attachAxis(VoltAxis);
  Gain->attachAxis(GainAxis);
  Ratio->attachAxis(RatioAxis);
  for (QLineSeries* s : {Vcb, Gain, Ratio}) s->attachAxis(SweptAxis);
}

void SweepChart::Show(SweptQuantity quantity, const SweepRange& range,
                      const std::vector<SweepPoint>& points) {
  std::vector<Real> x, vcb, gain, ratio;
  for (const SweepPoint& p : points) {
    if (!p.fault.empty()) continue;
    x.push_back(p.value);
    vcb.push_back(std::fabs(p.maxima[StVCb].Value));
    gain.push_back(std::fabs(p.summary.VoltageGain));
    ratio.push_back(p.summary.EnergyRatio);
  }
  // The swept axis spans the whole range from the first point on.
  const Real low = std::fmin(range.from, range.to);
  const Real high = std::fmax(range.from, range.to);
  const AxisScale swept =
      range.logarithmic ? AxisScale::Logarithmic(low, high) : AxisScale::Linear(low, high);
  const AxisScale volts = FitLinear(vcb);
  const AxisScale gains = FitLinear(gain);
  const AxisScale ratios = FitLinear(ratio);
  Vcb->replace(PlacedPoints(swept, x, volts, vcb));
  Gain->replace(PlacedPoints(swept, x, gains, gain));
  Ratio->replace(PlacedPoints(swept, x, ratios, ratio));
  SweptAxis->setTitleText(QString::fromStdString(SweptName(quantity)));
  ShowScale(SweptAxis, swept);
  ShowScale(VoltAxis, volts);
  ShowScale(GainAxis, gains);
  ShowScale(RatioAxis, ratios);
}

}  // namespace kovaro
