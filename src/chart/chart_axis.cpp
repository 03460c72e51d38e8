#include "chart/chart_axis.h"

#include <QCategoryAxis>
#include <algorithm>

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

}  // namespace kovaro
