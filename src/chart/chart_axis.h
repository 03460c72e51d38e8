#pragma once

#include "chart/axis_scale.h"

class QCategoryAxis;
class QObject;

namespace kovaro {

// An axis that shows an AxisScale: it spans the positions 0 to 1 and carries a label and a
// grid line at each of the scale's ticks, so that the chart lays out only those.
QCategoryAxis* MakeScaleAxis(QObject* parent);

// Replaces the axis's ticks by the scale's.
void ShowScale(QCategoryAxis* axis, const AxisScale& scale);

}  // namespace kovaro
