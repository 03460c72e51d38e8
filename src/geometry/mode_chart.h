#pragma once

#include <QChartView>
#include <vector>

#include "shell/real.h"

class QLineSeries;

namespace kovaro {

// The first mode along the secondary from its base (0) to its top (1): the voltage over the
// top's and the current over the largest, so that the builder sees where the stress is.
class ModeChart : public QChartView {
 public:
  explicit ModeChart(QWidget* parent);

  // voltage at the sections' ends from the base, current in each section.
  void Show(const std::vector<Real>& voltage, const std::vector<Real>& current);

  QLineSeries* Voltage;
  QLineSeries* Current;
};

}  // namespace kovaro
