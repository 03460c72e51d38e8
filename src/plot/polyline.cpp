#include "plot/polyline.h"

#include <algorithm>

namespace kovaro {
namespace {

enum class Direction { Vertical, Horizontal, Other };

Direction Of(const Pixel& a, const Pixel& b) {
  if (a.x == b.x) return Direction::Vertical;
  if (a.y == b.y) return Direction::Horizontal;
  return Direction::Other;
}

void Append(std::vector<Pixel>& out, const Pixel& p) {
  if (out.empty() || !(out.back() == p)) out.push_back(p);
}

// The run from `first` to `last` (inclusive), all in one column or one row: its first and
// its last segment as they are, the extremes of the points between them.
void AppendRun(std::vector<Pixel>& out, const Pixel* first, const Pixel* last, Direction d) {
  Append(out, first[0]);
  if (last - first >= 4) {
    auto along = [d](const Pixel& p) { return d == Direction::Vertical ? p.y : p.x; };
    const auto [low, high] = std::minmax_element(
        first + 1, last, [&](const Pixel& a, const Pixel& b) { return along(a) < along(b); });
    Append(out, first[1]);
    Append(out, *low);
    Append(out, *high);
    Append(out, last[-1]);
  } else {
    for (const Pixel* p = first + 1; p < last; ++p) Append(out, *p);
  }
  Append(out, *last);
}

}  // namespace

void ReducePolyline(std::vector<Pixel>& points) {
  const size_t n = points.size();
  if (n < 5) return;
  // The middle part, from the end of the first segment to the start of the last one, without
  // zero-length segments.
  std::vector<Pixel> middle;
  middle.reserve(n);
  for (size_t i = 1; i + 1 < n; ++i) Append(middle, points[i]);
  std::vector<Pixel> out;
  out.reserve(middle.size() + 2);
  out.push_back(points[0]);
  size_t i = 0;
  while (i < middle.size()) {
    // The longest run of segments of one direction that starts at middle[i].
    size_t j = i;
    if (i + 1 < middle.size()) {
      const Direction d = Of(middle[i], middle[i + 1]);
      if (d != Direction::Other) {
        while (j + 1 < middle.size() && Of(middle[j], middle[j + 1]) == d) ++j;
        AppendRun(out, &middle[i], &middle[j], d);
        i = j == i ? i + 1 : j;
        if (j + 1 == middle.size()) break;
        continue;
      }
    }
    Append(out, middle[i]);
    ++i;
  }
  // The middle's end is the start of the last segment: it must stand, even where it repeats.
  if (!(out.back() == points[n - 2])) out.push_back(points[n - 2]);
  out.push_back(points[n - 1]);
  // The first segment must keep its end too.
  if (out.size() < 2 || !(out[1] == points[1])) out.insert(out.begin() + 1, points[1]);
  points.swap(out);
}

}  // namespace kovaro
