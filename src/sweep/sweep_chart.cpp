#include "sweep/sweep_chart.h"

#include <QLineSeries>
#include <QLogValueAxis>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace kovaro {
namespace {

// A range with a margin of 5 %, or around the value when all are equal.
void FitRange(QValueAxis* axis, const QList<QPointF>& points) {
  if (points.isEmpty()) return;
  double low = points.front().y(), high = low;
  for (const QPointF& p : points) {
    low = std::min(low, p.y());
    high = std::max(high, p.y());
  }
  const double margin = high > low ? (high - low) * 0.05 : std::max(std::fabs(high) * 0.05, 1e-30);
  axis->setRange(low - margin, high + margin);
}

}  // namespace

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
  linear_ = new QValueAxis(chart);
  linear_->setLabelFormat(QStringLiteral("%.4g"));
  logarithmic_ = new QLogValueAxis(chart);
  logarithmic_->setLabelFormat(QStringLiteral("%.3g"));
  volts_ = new QValueAxis(chart);
  volts_->setTitleText(QStringLiteral("|Maximum VCb| (V)"));
  gain_ = new QValueAxis(chart);
  gain_->setTitleText(QStringLiteral("|Gain|"));
  ratio_ = new QValueAxis(chart);
  ratio_->setTitleText(QStringLiteral("Energy ratio"));
  chart->addAxis(linear_, Qt::AlignBottom);
  chart->addAxis(volts_, Qt::AlignLeft);
  chart->addAxis(gain_, Qt::AlignRight);
  chart->addAxis(ratio_, Qt::AlignRight);
  Vcb->attachAxis(volts_);
  Gain->attachAxis(gain_);
  Ratio->attachAxis(ratio_);
  for (QLineSeries* s : {Vcb, Gain, Ratio}) s->attachAxis(linear_);
}

void SweepChart::Show(SweptQuantity quantity, bool logarithmic, const std::vector<SweepPoint>& points) {
  QList<QPointF> vcb, gain, ratio;
  for (const SweepPoint& p : points) {
    if (!p.fault.empty()) continue;
    const double x = static_cast<double>(p.value);
    vcb.append({x, static_cast<double>(std::fabs(p.maxima[StVCb].Value))});
    gain.append({x, static_cast<double>(std::fabs(p.summary.VoltageGain))});
    ratio.append({x, static_cast<double>(p.summary.EnergyRatio)});
  }
  // The swept axis of the kind asked for.
  QAbstractAxis* wanted = logarithmic ? static_cast<QAbstractAxis*>(logarithmic_) : linear_;
  QAbstractAxis* other = logarithmic ? static_cast<QAbstractAxis*>(linear_) : logarithmic_;
  if (logarithmic != logarithmic_shown_) {
    logarithmic_shown_ = logarithmic;
    for (QLineSeries* s : {Vcb, Gain, Ratio}) s->detachAxis(other);
    chart()->removeAxis(other);
    chart()->addAxis(wanted, Qt::AlignBottom);
    for (QLineSeries* s : {Vcb, Gain, Ratio}) s->attachAxis(wanted);
  }
  wanted->setTitleText(QString::fromStdString(SweptName(quantity)));
  Vcb->replace(vcb);
  Gain->replace(gain);
  Ratio->replace(ratio);
  if (!points.empty()) {
    const double from = static_cast<double>(points.front().value);
    const double to = static_cast<double>(points.back().value);
    const double low = std::min(from, to), high = std::max(from, to);
    wanted->setRange(low, high);
    // Labels at powers of the base: of ten over many decades, four steps over fewer.
    if (logarithmic) {
      const double base = std::min(10.0, std::pow(high / low, 0.25));
      logarithmic_->setBase(base);
      logarithmic_->setMinorTickCount(base == 10.0 ? 8 : 0);
    }
  }
  FitRange(volts_, vcb);
  FitRange(gain_, gain);
  FitRange(ratio_, ratio);
}

}  // namespace kovaro
