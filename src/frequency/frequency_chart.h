#pragma once

#include <QChartView>
#include <functional>
#include <vector>

#include "frequency/response.h"

class QLineSeries;
class QLogValueAxis;
class QValueAxis;

namespace kovaro {

// The frequency plot: |VCb/Vdrive| in dB on the left axis and |Zin| on a logarithmic right
// axis against a logarithmic frequency axis, the natural modes as dashed vertical lines.
class FrequencyChart : public QChartView {
 public:
  explicit FrequencyChart(QWidget* parent);

  void Show(const std::vector<Real>& f, const std::vector<Response>& r, const std::vector<Mode>& modes);

  // Called with the frequency under the mouse while it moves over the plot area.
  std::function<void(Real f)> OnHover;

  QLineSeries* Gain;
  QLineSeries* Impedance;

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QLogValueAxis* frequency_;
  QValueAxis* decibels_;
  QLogValueAxis* ohms_;
  std::vector<QLineSeries*> modes_;
};

}  // namespace kovaro
