#pragma once

#include <QChartView>
#include <vector>

#include "sweep/sweep.h"

class QAbstractAxis;
class QLineSeries;
class QLogValueAxis;
class QValueAxis;

namespace kovaro {

// The sweep plot: |maximum VCb| on the left axis, |voltage gain| (the signed gain follows the
// sign of the maximum, which jumps) and the energy ratio on two right axes, against the swept value on a linear or logarithmic axis. Faulted points are left
// out.
class SweepChart : public QChartView {
 public:
  explicit SweepChart(QWidget* parent);

  void Show(SweptQuantity quantity, bool logarithmic, const std::vector<SweepPoint>& points);

  QLineSeries* Vcb;
  QLineSeries* Gain;
  QLineSeries* Ratio;

 private:
  QValueAxis* linear_;
  QLogValueAxis* logarithmic_;
  QValueAxis* volts_;
  QValueAxis* gain_;
  QValueAxis* ratio_;
  bool logarithmic_shown_ = false;  // which of the two swept axes is on the chart
};

}  // namespace kovaro
