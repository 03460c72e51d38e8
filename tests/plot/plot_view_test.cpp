#include "plot/plot_view.h"

#include <gtest/gtest.h>

#include <limits>

#include "shell/float_error.h"
#include "shell/real_math.h"
#include "x87_only.h"

using namespace kovaro;

TEST(PlotView, FrameMappingAndClamping) {
  const PlotFrame f = FrameFor(528, 318);
  EXPECT_EQ(f.left, 80);
  EXPECT_EQ(f.right, 518);
  EXPECT_EQ(f.top, 10);
  EXPECT_EQ(f.bottom, 298);
  const PlotMapping m = MappingFor(f, {0, 1, -144, 144});
  EXPECT_EQ(m.ky, -1);
  EXPECT_EQ(m.by, 154);
  EXPECT_EQ(m.kx, 438);
  EXPECT_EQ(m.bx, 80);
  EXPECT_FALSE(IsValid(MappingFor(f, {0, 1, 5, 5})));
  EXPECT_FALSE(IsValid(MappingFor(f, {2, 2, -1, 1})));
  EXPECT_FALSE(IsValid(MappingFor(f, {0, 1E-4940L, -1, 1})));  // kx beyond the range
  EXPECT_EQ(ClampX(100.5L, f), 100);                           // halves to even
  EXPECT_EQ(ClampX(101.5L, f), 102);
  EXPECT_EQ(ClampX(1E300L, f), 518);
  EXPECT_EQ(ClampX(-1E300L, f), 80);
  EXPECT_EQ(ClampX(std::numeric_limits<Real>::quiet_NaN(), f), 80);
  EXPECT_EQ(ClampY(9.4L, f), 10);
  EXPECT_EQ(ClampY(298.5L, f), 298);
  EXPECT_EQ(ClampY(297.5L, f), 298);
}

TEST(PlotView, GridStepsFollowTheSpan) {
  SKIP_UNLESS_X87();
  const PlotFrame f = FrameFor(528, 318);
  PlotRange v{0, 0.0001L, -1, 1};
  EXPECT_EQ(GridColumns(v, MappingFor(f, v)), std::vector<int32_t>{80});
  v.TimeTo = 0.00009L;
  EXPECT_EQ(GridColumns(v, MappingFor(f, v)).size(), 9u);
  v = {0.000013L, 0.000045L, -150000, 150000};  // first line at the first whole step
  EXPECT_EQ(GridColumns(v, MappingFor(f, v)).size(), 3u);
  EXPECT_EQ(GridRows(v, MappingFor(f, v)).size(), 3u);
  v = {0, 1, 150000, -150000};  // inverted: no rows
  EXPECT_TRUE(GridRows(v, MappingFor(f, v)).empty());
  // A span too small to be added to its start ends instead of repeating for ever.
  v = {1E10L, 1E10L + 1E-8L, -1, 1};
  EXPECT_LE(GridColumns(v, MappingFor(f, v)).size(), 1000u);
}

TEST(PlotView, LegendFactorsRoundHalvesToEvenWithinTheIntegerRange) {
  EXPECT_EQ(NearestInt(1000), 1000);
  EXPECT_EQ(NearestInt(2.5L), 2);
  EXPECT_EQ(NearestInt(0.5L), 0);
  EXPECT_EQ(NearestInt(-3.5L), -4);
  EXPECT_EQ(NearestInt(1E30L), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(NearestInt(-1E30L), std::numeric_limits<int32_t>::min());
  // The legend's text: the nearest integer inside the 32-bit range, the general text beyond.
  EXPECT_EQ(LegendFactor(2147483647), "2147483647");
  EXPECT_EQ(LegendFactor(-2147483648.4L), "-2147483648");
  EXPECT_EQ(LegendFactor(2147483647.5L), "2147483647.5");
  EXPECT_EQ(LegendFactor(1E10L), "10000000000");
  EXPECT_EQ(LegendFactor(-3E40L), "-3E40");
}

TEST(PlotView, KeysAndZoomBox) {
  const PlotRange full{0, 1, -10, 10};
  PlotRange v{0, 1, -100, 100};
  EXPECT_FALSE(ApplyKey('A', v, full));
  EXPECT_FALSE(ApplyKey('U', v, full));
  EXPECT_FALSE(ApplyKey('x', v, full));
  EXPECT_EQ(v.ValueTop, 100);
  v.ValueTop = std::numeric_limits<Real>::max();
  EXPECT_THROW(ApplyKey('-', v, full), FloatError);
  EXPECT_EQ(v.ValueTop, std::numeric_limits<Real>::max());  // the fault came before the change
  EXPECT_TRUE(ApplyKey(' ', v, full));
  EXPECT_EQ(v.ValueTop, 10);

  const PlotMapping m = MappingFor(FrameFor(528, 318), {0, 1, -144, 144});
  PlotRange z = full;
  EXPECT_FALSE(ZoomToBox(100, 100, 100, 150, m, z));  // no width
  EXPECT_FALSE(ZoomToBox(100, 100, 150, 99, m, z));   // dragged up
  EXPECT_FALSE(ZoomToBox(100, 100, 150, 150, PlotMapping{}, z));
  EXPECT_EQ(z.TimeTo, 1);
  EXPECT_TRUE(ZoomToBox(80, 54, 518, 154, m, z));
  EXPECT_EQ(z.TimeFrom, 0);
  EXPECT_EQ(z.TimeTo, 1);
  EXPECT_EQ(z.ValueTop, 100);
  EXPECT_EQ(z.ValueBottom, 0);
  EXPECT_EQ(DragText(100, 100, 90, 150, m), "dt=-2.3E-0002 dy=    50.00");
}
