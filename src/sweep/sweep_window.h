#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "state/app_state.h"
#include "sweep/sweep.h"

class QCheckBox;
class QComboBox;
class QProgressBar;
class QPushButton;
class QTimer;

namespace kovaro {

class SweepChart;
class TForm1;
class TNEdit;

// "Parameter sweep": runs of the circuit with one element or setting stepped over a range, the
// largest |VCb|, the gain and the energy ratio of each plotted and reported.
class TFsweep : public QWidget {
 public:
  TFsweep(AppState& state, TForm1& main);

  void BsweeprunClick();
  void BsweepcancelClick();
  bool Running() const { return sweep_ != nullptr; }

  QComboBox* CBparam;
  TNEdit* NEsfrom;
  TNEdit* NEsto;
  TNEdit* NEscount;
  QCheckBox* CBslog;
  QPushButton* Bsweeprun;
  QPushButton* Bsweepcancel;
  QProgressBar* Progress;
  SweepChart* Chart;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void RunSome();  // the points that fit in one turn of the event loop
  void Finish();   // chart, report, file and buttons, after the last point or a cancel
  void ShowChart();

  AppState& state_;
  TForm1& main_;
  QTimer* timer_;
  std::unique_ptr<Sweep> sweep_;  // the sweep running, if any
  std::string design_name_;       // of the design the sweep started with: it names the file
  bool cancelled_ = false;
  QElapsedTimer shown_;  // since the chart was last drawn
};

}  // namespace kovaro
