#pragma once

#include <QChartView>
#include <vector>

#include "sweep/sweep.h"

class QCategoryAxis;
class QLineSeries;

namespace kovaro {

// The sweep plot: |maximum VCb| on the left axis, |voltage gain| (the signed gain follows the
// sign of the maximum, which jumps) and the energy ratio on two right axes, against the swept
// value on a linear or logarithmic axis. Faulted points are left out. Values of any size are
// drawn: the axes place them, not the chart's doubles.
class SweepChart : public QChartView {
 public:
  explicit SweepChart(QWidget* parent);

  void Show(SweptQuantity quantity, const SweepRange& range, const std::vector<SweepPoint>& points);

  QLineSeries* Vcb;
  QLineSeries* Gain;
  QLineSeries* Ratio;
  QCategoryAxis* SweptAxis;
  QCategoryAxis* VoltAxis;
  QCategoryAxis* GainAxis;
  QCategoryAxis* RatioAxis;
};

}  // namespace kovaro
