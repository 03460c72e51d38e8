#pragma once

#include <QList>
#include <QPointF>
#include <vector>

#include "chart/axis_scale.h"

class QCategoryAxis;
class QObject;

namespace kovaro {

// An axis that shows an AxisScale: it spans the positions 0 to 1 and carries a label and a
// grid line at each of the scale's ticks, so that the chart lays out only those.
QCategoryAxis* MakeScaleAxis(QObject* parent);

// Replaces the axis's ticks by the scale's.
void ShowScale(QCategoryAxis* axis, const AxisScale& scale);

// The points (xs[i], ys[i]) at their positions on the two axes, those an axis cannot place (a
// gain of 0 on a dB axis) left out.
QList<QPointF> PlacedPoints(const AxisScale& x, const std::vector<Real>& xs, const AxisScale& y,
                            const std::vector<Real>& ys);

}  // namespace kovaro
