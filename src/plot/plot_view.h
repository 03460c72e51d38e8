#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/real.h"
#include "simulation/waveform_store.h"

namespace kovaro {

// Pixel bounds of the plot area on a paint surface of width x height.
struct PlotFrame {
  int32_t left = 0;
  int32_t right = 0;
  int32_t top = 0;
  int32_t bottom = 0;
};

PlotFrame FrameFor(int32_t width, int32_t height);

// Time t maps to column kx * t + bx, value v to row ky * v + by.
struct PlotMapping {
  Real kx = 0;
  Real bx = 0;
  Real ky = 0;
  Real by = 0;
};

// The mapping of the view onto the frame; all zero when a span of the view is zero (or the
// mapping is not finite), in which case nothing but the background can be drawn.
PlotMapping MappingFor(const PlotFrame& frame, const PlotRange& view);

bool IsValid(const PlotMapping& m);

// Pixel positions of trace points: clamped to the plot area, rounded halves to even.
int32_t ClampX(Real x, const PlotFrame& frame);
int32_t ClampY(Real y, const PlotFrame& frame);

// The pixel of a sample at time t with value v.
inline int32_t PixelX(Real t, const PlotMapping& m, const PlotFrame& frame) {
  return ClampX(m.kx * t + m.bx, frame);
}
inline int32_t PixelY(Real v, const PlotMapping& m, const PlotFrame& frame) {
  return ClampY(m.ky * v + m.by, frame);
}

// A legend's factor: the nearest integer to the scale, halves to even, or the scale's general
// text where that integer does not fit in 32 bits.
std::string LegendFactor(Real scale);

// Columns of the time grid and rows of the value grid, not clamped.
std::vector<int32_t> GridColumns(const PlotRange& view, const PlotMapping& m);
std::vector<int32_t> GridRows(const PlotRange& view, const PlotMapping& m);

// A navigation key: changes the view and returns true, or returns false for any character
// that is not a navigation key. An overflowing limit throws FloatError.
bool ApplyKey(char key, PlotRange& view, const PlotRange& full);

// The view becomes the box from (x0, y0) to (x1, y1) when it was dragged right and down by
// at least a pixel each way; returns whether it did.
bool ZoomToBox(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const PlotMapping& m, PlotRange& view);

// Status bar readouts: the time and value under the pointer, and the size of a dragged box.
std::string PositionText(int32_t x, int32_t y, const PlotMapping& m);
std::string DragText(int32_t x0, int32_t y0, int32_t x, int32_t y, const PlotMapping& m);

}  // namespace kovaro
