#pragma once

#include <QChartView>
#include <functional>
#include <optional>
#include <vector>

#include "chart/axis_scale.h"
#include "frequency/frequency_plot.h"

class QCategoryAxis;
class QLineSeries;

namespace kovaro {

// The frequency plot: |VCb/Vdrive| in dB on the left axis and |Zin| on a logarithmic right
// axis against a logarithmic frequency axis, the natural modes as dashed vertical lines.
class FrequencyChart : public QChartView {
 public:
  explicit FrequencyChart(QWidget* parent);

  void Show(const FrequencyPlot& plot);

  // Called with the frequency under the mouse while it moves over the plot area.
  std::function<void(Real f)> OnHover;

  QLineSeries* Gain;
  QLineSeries* Impedance;
  QCategoryAxis* FrequencyAxis;
  QCategoryAxis* DecibelAxis;
  QCategoryAxis* OhmAxis;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  std::optional<AxisScale> frequency_;  // the scale of the plot shown
  std::vector<QLineSeries*> modes_;
};

}  // namespace kovaro
