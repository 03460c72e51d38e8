#pragma once

#include <memory>

#include "app/main_window.h"
#include "app/project_actions.h"
#include "design/lossless_window.h"
#include "design/lossy_window.h"
#include "design/tesla_window.h"
#include "drive/drive_window.h"
#include "elements/element_window.h"
#include "frequency/frequency_window.h"
#include "geometry/geometry_window.h"
#include "plot/plot_window.h"
#include "state/app_state.h"
#include "sweep/sweep_window.h"

namespace kovaro {

// The shared state and the six windows, created hidden in this order; the first is the main
// window. The coil geometry, frequency response and sweep windows are created when first opened.
struct Program {
  Program();

  // Shows the main window.
  void Start();

  // "Copy summary": the design's summary on the clipboard and in DesignName + ".txt".
  void CopySummary();

  // The coil geometry and frequency response windows, created on first use.
  TFgeometry& Geometry();
  TFfrequency& Frequency();
  TFsweep& SweepWindow();
  TFdrive& Drive();

  std::unique_ptr<AppState> state;
  TForm1 form1;
  TForm2 form2;
  TForm3 form3;
  TFlossless flossless;
  TFlossy flossy;
  TForm4 form4;
  std::unique_ptr<TFgeometry> geometry;
  std::unique_ptr<TFfrequency> frequency;
  std::unique_ptr<TFsweep> sweep;
  std::unique_ptr<TFdrive> drive;
  std::unique_ptr<ProjectActions> project;  // saving and opening every window's inputs
};

}  // namespace kovaro
