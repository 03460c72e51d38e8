#include "chart/axis_scale.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <random>

#include "shell/numeric_text.h"

using namespace kovaro;

namespace {

std::vector<std::string> Labels(const AxisScale& axis) {
  std::vector<std::string> labels;
  for (const Tick& t : axis.Ticks()) labels.push_back(t.label);
  return labels;
}

using Labelled = std::vector<std::string>;

}  // namespace

TEST(AxisScale, RoundTicksInOneNotation) {
  EXPECT_EQ(Labels(AxisScale::Linear(0, 1)), (Labelled{"0", "0.2", "0.4", "0.6", "0.8", "1"}));
  EXPECT_EQ(Labels(AxisScale::Linear(-92.6L, 48.4L)),
            (Labelled{"-80", "-60", "-40", "-20", "0", "20", "40"}));
  // A frequency axis over less than a decade: round frequencies, not only its powers of ten.
  EXPECT_EQ(Labels(AxisScale::Logarithmic(186000, 465000)),
            (Labelled{"200000", "250000", "300000", "350000", "400000", "450000"}));
  EXPECT_EQ(Labels(AxisScale::Logarithmic(0.9L, 1.1L)), (Labelled{"0.9", "0.95", "1", "1.05", "1.1"}));
  EXPECT_EQ(Labels(AxisScale::Logarithmic(0.15L, 3)), (Labelled{"0.2", "0.5", "1", "2"}));
  EXPECT_EQ(Labels(AxisScale::Logarithmic(1, 1e30L)),
            (Labelled{"1E0", "1E5", "1E10", "1E15", "1E20", "1E25", "1E30"}));
  EXPECT_EQ(Labels(AxisScale::Logarithmic(1e-301L, 1)),
            (Labelled{"1E-300", "1E-250", "1E-200", "1E-150", "1E-100", "1E-50", "1E0"}));
  EXPECT_EQ(Labels(AxisScale::Linear(0, 2e6L)), (Labelled{"0", "5E5", "1E6", "1.5E6", "2E6"}));
  // Beyond the range of doubles, and narrower than 15 digits can tell: only the ends.
  EXPECT_EQ(Labels(AxisScale::Linear(1e4000L, 3e4000L)),
            (Labelled{"1E4000", "1.5E4000", "2E4000", "2.5E4000", "3E4000"}));
  EXPECT_EQ(Labels(AxisScale::Linear(1, 1 + 1e-18L)), (Labelled{"1"}));
  EXPECT_EQ(Labels(AxisScale::Linear(1, 1 + 1e-12L)),
            (Labelled{"1", "1.0000000000002", "1.0000000000004", "1.0000000000006", "1.0000000000008",
                      "1.000000000001"}));
}

TEST(AxisScale, PositionsOfAnySizeFromZeroToOne) {
  const AxisScale whole = AxisScale::Linear(-LDBL_MAX, LDBL_MAX);
  EXPECT_EQ(whole.Position(-LDBL_MAX), 0);
  EXPECT_EQ(whole.Position(0), 0.5);
  EXPECT_EQ(whole.Position(LDBL_MAX), 1);
  const AxisScale decades = AxisScale::Logarithmic(1e-4000L, 1e4000L);
  EXPECT_EQ(decades.Position(1), 0.5);
  EXPECT_NEAR(decades.Position(1e2000L), 0.75, 1e-15);
  EXPECT_TRUE(std::isnan(decades.Position(0)));
  EXPECT_TRUE(std::isnan(decades.Position(-1)));
  EXPECT_TRUE(std::isnan(whole.Position(INFINITY)));
  EXPECT_NEAR(static_cast<double>(decades.ValueAt(0.75) / 1e2000L), 1, 1e-12);

  // Fitted around values, those beyond the doubles' range and the non-finite ones among them.
  const AxisScale fitted = FitLinear({1e4000L, 2e4000L, INFINITY, NAN});
  EXPECT_EQ(GeneralText(fitted.Low()), "9.5E3999");
  EXPECT_EQ(GeneralText(fitted.High()), "2.05E4000");
  EXPECT_EQ(GeneralText(FitLinear({5, 5}).Low()), "4.75");
  EXPECT_EQ(FitLinear({}).High(), 1);
  EXPECT_EQ(FitLinear({0, 0}).Low(), -1);
  EXPECT_EQ(FitLinear({-LDBL_MAX, LDBL_MAX}).Low(), -LDBL_MAX);
  EXPECT_EQ(GeneralText(FitLogarithmic({0, 1e-3000L, 1e3000L}).Low()), "5E-3001");

  // Any range: a few ticks, in order, where their values are.
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> exponent(-4900, 4900);
  for (int i = 0; i < 2000; ++i) {
    const Real a = std::pow(10.0L, static_cast<Real>(exponent(random)));
    const Real b =
        a * std::pow(10.0L, static_cast<Real>(std::uniform_real_distribution<double>(-20, 30)(random)));
    const bool logarithmic = i % 2 == 0;
    const Real low = std::fmin(a, b) * (logarithmic ? 1 : (i % 4 == 1 ? -1 : 1));
    const AxisScale axis =
        logarithmic ? AxisScale::Logarithmic(low, std::fmax(a, b)) : AxisScale::Linear(low, std::fmax(a, b));
    ASSERT_GE(axis.Ticks().size(), 1u);
    ASSERT_LE(axis.Ticks().size(), 10u) << GeneralText(low) << " " << GeneralText(std::fmax(a, b));
    double last = -1;
    for (const Tick& t : axis.Ticks()) {
      const double at = axis.Position(t.value);
      EXPECT_GE(at, last);
      EXPECT_GE(at, -1e-12);
      EXPECT_LE(at, 1 + 1e-12);
      last = at;
    }
  }
}

TEST(AxisScale, ShortTextsOfReadouts) {
  EXPECT_EQ(ShortText(279182.27474L, 7), "279182.3");
  EXPECT_EQ(ShortText(1e25L, 7), "1E25");
  EXPECT_EQ(ShortText(-0.0012345678L, 6), "-0.00123457");
  EXPECT_EQ(ShortText(999999.96L, 7), "1E6");
  EXPECT_EQ(ShortText(-INFINITY, 6), "-Inf");
}
