#include "plot/plot_view.h"

#include <algorithm>
#include <cmath>

#include "shell/float_error.h"
#include "shell/format.h"
#include "shell/numeric_text.h"
#include "shell/real_math.h"

namespace kovaro {
namespace {

// Far outside any paint surface, yet safe for the drawing code's integer arithmetic.
constexpr Real kPixelLimit = 1000000;
// A grid of more lines than this cannot be told apart; a step too small to advance its
// start value would never end.
constexpr size_t kMaxGridLines = 1000;

int32_t ToPixel(Real p) {
  if (!(p > -kPixelLimit)) return static_cast<int32_t>(-kPixelLimit);
  if (!(p < kPixelLimit)) return static_cast<int32_t>(kPixelLimit);
  return static_cast<int32_t>(RoundToEven(p));
}

// Positions of the grid lines from `from` up to (not including) `to`, mapped by k, b.
std::vector<int32_t> Grid(Real from, Real to, Real k, Real b) {
  std::vector<int32_t> lines;
  const Real span = to - from;
  if (!(span > 0) || !std::isfinite(span)) return lines;
  const Real p = RoundToEven(std::log10(span) - 0.499999L);
  const Real step = PowerOfTen(static_cast<int32_t>(p));
  Real v = step * RoundToEven(from / step + 0.5L);
  while (v < to && lines.size() < kMaxGridLines) {
    lines.push_back(ToPixel(k * v + b));
    const Real next = v + step;
    if (next == v) break;
    v = next;
  }
  return lines;
}

}  // namespace

std::string LegendFactor(Real scale) {
  const Real r = RoundToEven(scale);
  if (r >= -2147483648.0L && r <= 2147483647.0L) return FormatInt(static_cast<int32_t>(r));
  return GeneralText(scale);
}

PlotFrame FrameFor(int32_t width, int32_t height) { return {80, width - 10, 10, height - 20}; }

PlotMapping MappingFor(const PlotFrame& f, const PlotRange& view) {
  PlotMapping m;
  const Real value_span = view.ValueBottom - view.ValueTop;
  const Real time_span = view.TimeTo - view.TimeFrom;
  if (value_span == 0 || time_span == 0) return m;
  m.ky = (f.bottom - f.top) / value_span;
  m.by = f.bottom - m.ky * view.ValueBottom;
  m.kx = (f.right - f.left) / time_span;
  m.bx = f.right - m.kx * view.TimeTo;
  if (!IsValid(m)) return PlotMapping{};
  return m;
}

bool IsValid(const PlotMapping& m) {
  return m.kx != 0 && m.ky != 0 && std::isfinite(m.kx) && std::isfinite(m.bx) && std::isfinite(m.ky) &&
         std::isfinite(m.by);
}

int32_t ClampX(Real x, const PlotFrame& f) {
  if (x > f.right) return f.right;
  if (x >= f.left) return static_cast<int32_t>(RoundToEven(x));
  return f.left;
}

int32_t ClampY(Real y, const PlotFrame& f) {
  if (y > f.bottom) return f.bottom;
  if (y >= f.top) return static_cast<int32_t>(RoundToEven(y));
  return f.top;
}

std::vector<int32_t> GridColumns(const PlotRange& view, const PlotMapping& m) {
  return Grid(view.TimeFrom, view.TimeTo, m.kx, m.bx);
}

std::vector<int32_t> GridRows(const PlotRange& view, const PlotMapping& m) {
  return Grid(view.ValueBottom, view.ValueTop, m.ky, m.by);
}

bool ApplyKey(char key, PlotRange& v, const PlotRange& full) {
  switch (key) {
    case '+':
      v.ValueTop = v.ValueTop / 2;
      v.ValueBottom = -v.ValueTop;
      return true;
    case '-':
      v.ValueTop = Ck(v.ValueTop * 2);
      v.ValueBottom = -v.ValueTop;
      return true;
    case 'a':
      v.TimeTo = Ck(v.TimeFrom + Ck(v.TimeTo - v.TimeFrom) / 2);
      return true;
    case 'r':
      v.TimeTo = Ck(v.TimeFrom + Ck(Ck(v.TimeTo - v.TimeFrom) * 2));
      return true;
    case '>':
    case '.': {
      const Real d = Ck(v.TimeTo - v.TimeFrom) / 4;
      v.TimeTo = Ck(v.TimeTo + d);
      v.TimeFrom = Ck(v.TimeFrom + d);
      return true;
    }
    case '<':
    case ',': {
      const Real d = Ck(v.TimeTo - v.TimeFrom) / 4;
      v.TimeTo = Ck(v.TimeTo - d);
      v.TimeFrom = Ck(v.TimeFrom - d);
      return true;
    }
    case 'u': {
      const Real d = Ck(v.ValueTop - v.ValueBottom) / 4;
      v.ValueTop = Ck(v.ValueTop + d);
      v.ValueBottom = Ck(v.ValueBottom + d);
      return true;
    }
    case 'd': {
      const Real d = Ck(v.ValueTop - v.ValueBottom) / 4;
      v.ValueTop = Ck(v.ValueTop - d);
      v.ValueBottom = Ck(v.ValueBottom - d);
      return true;
    }
    case ' ':
      v = full;
      return true;
    default:
      return false;
  }
}

bool ZoomToBox(int32_t x0, int32_t y0, int32_t x1, int32_t y1, const PlotMapping& m, PlotRange& view) {
  if (!(x1 > x0 && y1 > y0) || !IsValid(m)) return false;
  view.TimeFrom = (x0 - m.bx) / m.kx;
  view.TimeTo = (x1 - m.bx) / m.kx;
  view.ValueBottom = (y1 - m.by) / m.ky;
  view.ValueTop = (y0 - m.by) / m.ky;
  return true;
}

std::string PositionText(int32_t x, int32_t y, const PlotMapping& m) {
  return "t=" + FormatReal((x - m.bx) / m.kx, 10, -1) + " y=" + FormatReal((y - m.by) / m.ky, 9, 2);
}

std::string DragText(int32_t x0, int32_t y0, int32_t x, int32_t y, const PlotMapping& m) {
  return "dt=" + FormatReal((x - x0) / m.kx, 10, -1) + " dy=" + FormatReal((y0 - y) / m.ky, 9, 2);
}

}  // namespace kovaro
