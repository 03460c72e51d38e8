#pragma once

#include <utility>
#include <vector>

#include "design/design_host.h"

class QWidget;

namespace kovaro {

class TForm1;
class TForm3;
class TNEdit;

// A calculator's effects on the windows: the report area and settings of the main window,
// the element window's fields, the calculating window itself, and the design windows' Lb and
// Cb fields for a window that sends them.
class DesignEffects : public DesignHost {
 public:
  DesignEffects(TForm1& main, TForm3& elements, QWidget& window, TNEdit* bandwidth = nullptr,
                TNEdit* gain = nullptr)
      : main_(main), elements_(elements), window_(window), bandwidth_(bandwidth), gain_(gain) {}

  // The (Lb, Cb) field pairs that SetDesignSecondary writes.
  void SetSecondaryFields(std::vector<std::pair<TNEdit*, TNEdit*>> fields) {
    secondaries_ = std::move(fields);
  }

  void LogLine(const std::string& text) override;
  void SetElementField(ElementField field, Real value) override;
  void SetDesignField(DesignField field, Real value) override;
  void SetInputFrequency(Real fin) override;
  void SetVinWaveform(Waveform w) override;
  void SetSimulateEnabled(bool enabled) override;
  void TickRemoveLoad() override;
  void HideDesignWindow() override;
  void SetDesignSecondary(Real Lb, Real Cb) override;

 private:
  TForm1& main_;
  TForm3& elements_;
  QWidget& window_;
  TNEdit* bandwidth_;
  TNEdit* gain_;
  std::vector<std::pair<TNEdit*, TNEdit*>> secondaries_;
};

}  // namespace kovaro
