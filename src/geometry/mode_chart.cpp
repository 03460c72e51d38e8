#include "geometry/mode_chart.h"

#include <QLineSeries>
#include <QValueAxis>

namespace kovaro {

// The view owns the chart it is built with (a chart set later would leave its first one).
ModeChart::ModeChart(QWidget* parent) : QChartView(new QChart(), parent) {
  setObjectName(QStringLiteral("ModeChart"));
  setRenderHint(QPainter::Antialiasing);
  QChart* chart = this->chart();
  chart->setMargins(QMargins(2, 2, 2, 2));
  chart->setTitle(QStringLiteral("First mode along the winding"));
  Voltage = new QLineSeries(chart);
  Voltage->setName(QStringLiteral("Voltage / top's"));
  Current = new QLineSeries(chart);
  Current->setName(QStringLiteral("Current / largest"));
  chart->addSeries(Voltage);
  chart->addSeries(Current);
  // Both relative, from the base to the top: fixed axes of round ticks.
  auto* along = new QValueAxis(chart);
  along->setRange(0, 1);
  along->setTickCount(6);
  along->setLabelFormat(QStringLiteral("%.1f"));
  along->setTitleText(QStringLiteral("Base to top"));
  auto* share = new QValueAxis(chart);
  share->setRange(0, 1);
  share->setTickCount(6);
  share->setLabelFormat(QStringLiteral("%.1f"));
  chart->addAxis(along, Qt::AlignBottom);
  chart->addAxis(share, Qt::AlignLeft);
  for (QLineSeries* s : {Voltage, Current}) {
    s->attachAxis(along);
    s->attachAxis(share);
  }
}

void ModeChart::Show(const std::vector<Real>& voltage, const std::vector<Real>& current) {
  QList<QPointF> v;
  QList<QPointF> i;
  const auto sections = static_cast<double>(current.size());
  for (size_t k = 0; k < voltage.size(); ++k)
    v.append({static_cast<double>(k) / sections, static_cast<double>(voltage[k])});
  for (size_t k = 0; k < current.size(); ++k)
    i.append({(static_cast<double>(k) + 0.5) / sections, static_cast<double>(current[k])});
  Voltage->replace(v);
  Current->replace(i);
}

}  // namespace kovaro
