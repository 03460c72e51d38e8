#pragma once

#include <cstdint>
#include <vector>

namespace kovaro {

struct Pixel {
  int32_t x;
  int32_t y;
  bool operator==(const Pixel&) const = default;
};

// Leaves out points of a polyline of 1-pixel opaque segments that change none of the pixels
// it draws: a point equal to its predecessor, and the inner points of a run of vertical (or
// horizontal) segments in one column (or row), which draw the run's whole span whatever their
// order: such a run becomes its first point, its two extremes and its last point. The first and
// the last segment, which carry the line's ends, stay as they are.
void ReducePolyline(std::vector<Pixel>& points);

}  // namespace kovaro
