#pragma once

#include <string>

#include "elements/element_set.h"
#include "shell/constants.h"
#include "shell/real.h"
#include "shell/report_log.h"
#include "simulation/settings.h"

namespace kovaro {

struct AppState;

// What a design writes besides the windows: the element set and the base name of its files.
struct DesignTarget {
  DesignTarget(ElementSet& elements, std::string& design_name)
      : Elements(elements), DesignName(design_name) {}
  DesignTarget(AppState& state);  // NOLINT: the program's state holds both
  ElementSet& Elements;
  std::string& DesignName;
};

// The element window's fields that the calculators write.
enum class ElementField { Ca, La, Lb, Cb, kab, Rb };

// The lossy design window's own fields that "Set" writes.
enum class DesignField { Bandwidth, Gain };

// What a design calculator does to the windows, one effect at a time, so that a fault
// leaves exactly the effects of the steps before it.
class DesignHost : public ReportLog {
 public:
  virtual void SetElementField(ElementField field, Real value) = 0;
  virtual void SetDesignField(DesignField field, Real value) = 0;
  virtual void SetInputFrequency(Real fin) = 0;       // the main window's NEfin
  virtual void SetVinWaveform(Waveform w) = 0;        // the main window's RGvin
  virtual void SetSimulateEnabled(bool enabled) = 0;  // "Simulate and plot"
  virtual void TickRemoveLoad() = 0;                  // "Remove load"
  virtual void HideDesignWindow() = 0;
  virtual void SetDesignSecondary(Real Lb, Real Cb) = 0;  // the design windows' Lb and Cb
};

// Writes a design's six elements into the element window's fields, in the order the
// lossless and lossy designs use: Ca, La, Cb, Lb, kab, Rb.
void SetElementFields(DesignHost& host, const ElementSet& e);

}  // namespace kovaro
