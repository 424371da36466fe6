#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/Extended.h"

namespace {

template <typename E>
void ExpectError(const std::function<void()>& f, const char* message) {
  try {
    f();
    ADD_FAILURE() << "no error, expected: " << message;
  } catch (const E& e) {
    EXPECT_EQ(e.Message, message);
  }
}

TEST(Extended, DivisionErrorsByKind) {
  ExpectError<EZeroDivide>([] { Extended::Div(1, 0); }, "Floating point division by zero");
  ExpectError<EZeroDivide>([] { Extended::Div(-1e-4000L, 0); }, "Floating point division by zero");
  ExpectError<EInvalidOp>([] { Extended::Div(0, 0); }, "Invalid floating point operation");
  ExpectError<EOverflow>([] { Extended::Div(1e4000L, 1e-4000L); }, "Floating point overflow");
}

TEST(Extended, OverflowInEveryOperation) {
  const long double big = LDBL_MAX;
  ExpectError<EOverflow>([&] { Extended::Mul(big, 2); }, "Floating point overflow");
  ExpectError<EOverflow>([&] { Extended::Add(big, big); }, "Floating point overflow");
  ExpectError<EOverflow>([&] { Extended::Sub(big, -big); }, "Floating point overflow");
}

TEST(Extended, UnderflowAndInexactAreSilent) {
  EXPECT_EQ(Extended::Mul(1e-4000L, 1e-4000L), 0.0L);
  const long double denormal = Extended::Div(LDBL_MIN, 1024);
  EXPECT_GT(denormal, 0.0L);
  EXPECT_LT(denormal, LDBL_MIN);
  EXPECT_EQ(Extended::Div(1, 3), 1.0L / 3.0L);
}

TEST(Extended, AnErrorLeavesNoFlagsBehind) {
  EXPECT_THROW(Extended::Div(1, 0), EZeroDivide);
  EXPECT_NO_THROW(Extended::CheckErrors());
  EXPECT_EQ(Extended::Div(6, 3), 2.0L);
}

TEST(Extended, LibraryFunctions) {
  EXPECT_EQ(Extended::Sqrt(2.25L), 1.5L);
  EXPECT_EQ(Extended::ArcTan(0), 0.0L);
  EXPECT_EQ(Extended::Abs(-3), 3.0L);
  EXPECT_NEAR(static_cast<double>(Extended::ArcTan(1)), M_PI / 4, 1e-15);
}

// K: ten bytes, the extended value nearest to the reciprocal of pi rounded to
// double, which is not the one nearest to 1/pi.
TEST(Extended, ConstantFromItsTenBytes) {
  const long double k =
      Extended::FromBytes({0xf4, 0x16, 0x44, 0x4e, 0x6e, 0x83, 0xf9, 0xa2, 0xfd, 0x3f});
  EXPECT_EQ(k, 1.0L / static_cast<long double>(M_PI));
  char text[64];
  std::snprintf(text, sizeof text, "%.21Lf", k);
  EXPECT_EQ(std::string(text), "0.318309886183790683952");
  const long double nearestToInversePi = 0.318309886183790671537767526745028724L;
  long double steps = 0;
  for (long double x = nearestToInversePi; x < k; x = std::nextafterl(x, 1)) ++steps;
  EXPECT_EQ(steps, 458);
}

}  // namespace
