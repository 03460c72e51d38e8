#include "geometry/units.h"

#include <gtest/gtest.h>

using namespace kovaro;

// Bare-wire diameters in mm as a published conversion table prints them (three decimals),
// independent of the gauge's formula.
TEST(Units, WireGaugesAgainstAPublishedTable) {
  const std::pair<int, double> published[] = {
      {10, 2.588}, {11, 2.305}, {12, 2.053}, {13, 1.828}, {14, 1.628}, {15, 1.450}, {16, 1.291},
      {17, 1.150}, {18, 1.024}, {19, 0.912}, {20, 0.812}, {21, 0.723}, {22, 0.644}, {23, 0.573},
      {24, 0.511}, {25, 0.455}, {26, 0.405}, {27, 0.361}, {28, 0.321}, {29, 0.286}, {30, 0.255}};
  for (const auto& [gauge, mm] : published)
    EXPECT_NEAR(static_cast<double>(AwgDiameter(gauge) * 1000), mm, 0.0005) << gauge;
  // Its ends and definition: 36 is 0.127 mm, 0000 (-3) is 0.46 in, half gauges between.
  EXPECT_NEAR(AwgDiameter(36), 0.127e-3L, 1e-18L);
  EXPECT_NEAR(AwgDiameter(-3) / 0.0254L, 0.46L, 1e-15L);
  EXPECT_EQ(GaugeOfChoice(1), 4);
  EXPECT_EQ(GaugeOfChoice(2), 4.5L);
  EXPECT_EQ(GaugeOfChoice(kGaugeChoices - 1), 44);
  EXPECT_EQ(MetresPer(LengthUnit::Inch), 0.0254L);
  EXPECT_EQ(UnitName(LengthUnit::Millimetre), "mm");
}
