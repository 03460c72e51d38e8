#pragma once

#include <gtest/gtest.h>

#include "shell/real.h"

// For a test whose expected values are the x87 format's own (its smallest subnormal, a rounding
// at its 64th bit, the sign of an eigenvalue's rounding noise): skipped on a wider long double.
#define SKIP_UNLESS_X87() \
  if (!kovaro::kRealIsX87) GTEST_SKIP() << "exact only in the x87 format"
