#pragma once

#include <QWidget>
#include <optional>

#include "frequency/netlist.h"
#include "frequency/response.h"
#include "state/app_state.h"

class QLabel;
class QPushButton;

namespace kovaro {

class FrequencyChart;
class TForm1;
class TNEdit;

// "Frequency response": |VCb/Vdrive| and |Zin| of the circuit against frequency, its natural
// modes, and the circuit as a SPICE netlist.
class TFfrequency : public QWidget {
 public:
  TFfrequency(AppState& state, TForm1& main);

  void BfplotClick();
  void BnetlistClick();
  // Keeps the range as it is when the window is next shown, as for elements it was set for.
  void KeepRange() { ranged_for_ = state_.Elements; }

  TNEdit* NEflo;
  TNEdit* NEfhi;
  TNEdit* NEfpts;
  QPushButton* Bfplot;
  QPushButton* Bnetlist;
  FrequencyChart* Chart;
  QLabel* Readout;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The fields' range, refused when it is not a range of positive frequencies.
  FrequencyRange Range() const;
  // The readout at the frequency under the mouse.
  void ShowReadout(Real f);

  AppState& state_;
  TForm1& main_;
  std::optional<ElementSet> ranged_for_;  // the elements the range was last set around
  std::optional<CircuitSystem> plotted_;  // the circuit of the last plot
};

}  // namespace kovaro
