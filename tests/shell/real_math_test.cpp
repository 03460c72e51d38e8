#include "shell/real_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace kovaro;

TEST(RealMath, RoundToEvenMatchesNearbyint) {
  for (Real x : {0.5L, 1.5L, 2.5L, -0.5L, -1.5L, -2.5L, 0.49999999999999999995L, 1E30L, -7.0L,
                 4611686018427387903.5L}) {
    EXPECT_EQ(RoundToEven(x), std::nearbyint(x)) << static_cast<double>(x);
  }
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> wide(-1E6, 1E6);
  for (int i = 0; i < 100000; ++i) {
    const Real x = static_cast<Real>(wide(random)) / 7;
    ASSERT_EQ(RoundToEven(x), std::nearbyint(x)) << static_cast<double>(x);
  }
  EXPECT_TRUE(IsOdd(3));
  EXPECT_FALSE(IsOdd(-4));
  EXPECT_TRUE(IsOdd(-5));
  EXPECT_FALSE(IsOdd(1E30L));
  // Up to the largest odd value below kIntegralFrom, where every integer is exact; from there even.
  EXPECT_TRUE(IsOdd(kIntegralFrom - 1));
  EXPECT_TRUE(IsOdd(1 - kIntegralFrom));
  EXPECT_TRUE(IsOdd(kIntegralFrom / 2 + 1));
  EXPECT_FALSE(IsOdd(kIntegralFrom - 2));
  EXPECT_FALSE(IsOdd(kIntegralFrom));
  EXPECT_FALSE(IsOdd(-kIntegralFrom - 1));  // rounds to -kIntegralFrom as a real
  for (int i = 0; i < 100000; ++i) {
    const int64_t n = static_cast<int64_t>(random() >> (i % 62));
    ASSERT_EQ(IsOdd(static_cast<Real>(n)), (n & 1) != 0) << n;
  }
}

TEST(RealMath, PowersOfTenAreCorrectlyRounded) {
  EXPECT_EQ(PowerOfTen(0), 1);
  EXPECT_EQ(PowerOfTen(-5), 0.00001L);
  EXPECT_EQ(PowerOfTen(27), 1E27L);
  EXPECT_EQ(PowerOfTen(-300), 1E-300L);
  EXPECT_EQ(PowerOfTen(4932), 1E4932L);
  EXPECT_EQ(PowerOfTen(-6000), 0);
  EXPECT_TRUE(std::isinf(PowerOfTen(5000)));
}
