#include "frequency/frequency_chart.h"

#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMouseEvent>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

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
  frequency_ = new QLogValueAxis(chart);
  frequency_->setTitleText(QStringLiteral("Frequency (Hz)"));
  frequency_->setLabelFormat(QStringLiteral("%.3g"));
  frequency_->setMinorTickCount(8);
  decibels_ = new QValueAxis(chart);
  decibels_->setTitleText(QStringLiteral("Gain (dB)"));
  ohms_ = new QLogValueAxis(chart);
  ohms_->setTitleText(QStringLiteral("|Zin| (ohm)"));
  ohms_->setLabelFormat(QStringLiteral("%.3g"));
  chart->addAxis(frequency_, Qt::AlignBottom);
  chart->addAxis(decibels_, Qt::AlignLeft);
  chart->addAxis(ohms_, Qt::AlignRight);
  Gain->attachAxis(frequency_);
  Gain->attachAxis(decibels_);
  Impedance->attachAxis(frequency_);
  Impedance->attachAxis(ohms_);
}

void FrequencyChart::Show(const std::vector<Real>& f, const std::vector<Response>& r,
                          const std::vector<Mode>& modes) {
  QList<QPointF> gain;
  QList<QPointF> ohms;
  double low = INFINITY, high = -INFINITY, least = INFINITY, most = 0;
  for (size_t i = 0; i < f.size(); ++i) {
    const double x = static_cast<double>(f[i]);
    const double db = static_cast<double>(Decibels(r[i].gain));
    const double z = static_cast<double>(std::abs(r[i].impedance));
    gain.append({x, db});
    ohms.append({x, z});
    low = std::min(low, db);
    high = std::max(high, db);
    if (z > 0) least = std::min(least, z);
    most = std::max(most, z);
  }
  Gain->replace(gain);
  Impedance->replace(ohms);
  frequency_->setRange(static_cast<double>(f.front()), static_cast<double>(f.back()));
  const double margin = std::max(1.0, (high - low) * 0.05);
  decibels_->setRange(low - margin, high + margin);
  if (most > 0) ohms_->setRange(least / 2, most * 2);

  for (QLineSeries* line : modes_) chart()->removeSeries(line);
  qDeleteAll(modes_);
  modes_.clear();
  for (const Mode& m : modes) {
    if (!m.oscillating || m.f < f.front() || m.f > f.back()) continue;
    auto* line = new QLineSeries(chart());
    line->setName(QStringLiteral("Modes"));
    line->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    line->append(static_cast<double>(m.f), low - margin);
    line->append(static_cast<double>(m.f), high + margin);
    chart()->addSeries(line);
    line->attachAxis(frequency_);
    line->attachAxis(decibels_);
    if (!modes_.empty()) chart()->legend()->markers(line).first()->setVisible(false);
    modes_.push_back(line);
  }
}

void FrequencyChart::mouseMoveEvent(QMouseEvent* event) {
  QChartView::mouseMoveEvent(event);
  const QPointF pos = event->position();
  if (OnHover && chart()->plotArea().contains(pos) && Gain->count() > 0)
    OnHover(static_cast<Real>(chart()->mapToValue(pos, Gain).x()));
}

}  // namespace kovaro
