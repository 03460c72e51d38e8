#include "chart/chart_axis.h"

#include <QCategoryAxis>
#include <algorithm>
#include <cmath>

namespace kovaro {

QCategoryAxis* MakeScaleAxis(QObject* parent) {
  auto* axis = new QCategoryAxis(parent);
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  axis->setStartValue(0);
  axis->setRange(0, 1);
  return axis;
}

void ShowScale(QCategoryAxis* axis, const AxisScale& scale) {
  for (const QString& label : axis->categoriesLabels()) axis->remove(label);
  double last = -1;
  for (const Tick& tick : scale.Ticks()) {
    const double at = std::clamp(scale.Position(tick.value), 0.0, 1.0);  // an end within rounding
    if (!(at > last)) continue;  // ticks closer than a double can tell apart show once
    axis->append(QString::fromStdString(tick.label), at);
    last = at;
  }
}

QList<QPointF> PlacedPoints(const AxisScale& x, const std::vector<Real>& xs, const AxisScale& y,
                            const std::vector<Real>& ys) {
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(xs.size()));
  for (size_t i = 0; i < xs.size(); ++i) {
    const QPointF p(x.Position(xs[i]), y.Position(ys[i]));
    if (std::isfinite(p.x()) && std::isfinite(p.y())) points.append(p);
  }
  return points;
}

}  // namespace kovaro
