#include <gtest/gtest.h>

#include <cmath>

#include "app/StarCalc.h"
#include "framework/rtl/Exceptions.h"
#include "tests/support/Settings.h"

namespace {

using Texts = std::array<AnsiString, 8>;

// Field order: I1S1X, I1S1Y, I1S2X, I1S2Y, I2S1X, I2S1Y, I2S2X, I2S2Y.
const Texts kWorked = {"100", "200", "300", "250", "120", "180", "250", "330"};

struct Example {
  const char* name;
  Texts texts;
  const char* resize;
  const char* rotate;
};
void PrintTo(const Example& e, std::ostream* os) { *os << e.name; }

class WorkedExamples : public testing::TestWithParam<Example> {};

TEST_P(WorkedExamples, GiveTheResultTexts) {
  const auto r = CalcScaleRotation(GetParam().texts, CommaSettings());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->Resize, GetParam().resize);
  EXPECT_EQ(r->Rotate, GetParam().rotate);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, WorkedExamples,
    testing::Values(
        Example{"Worked", kWorked, "103,86", "-35,05"},
        Example{"Star2LeftInImage2",
                {"100", "200", "300", "250", "120", "180", "20", "330"},
                "114,35",
                "-109,65"},
        Example{"GroupingAndNegativeZero",
                {"0", "0", "12345", "0", "0", "0", "1000", "0"},
                "1.234,50",
                "0,00"},
        Example{"RotationBeyondAHalfTurn",
                {"0", "0", "-1", "-100", "0", "0", "100", "0"},
                "100,00",
                "269,43"},
        // Both dx negative: the two half-turn corrections cancel.
        Example{"StarsExchanged",
                {"300", "250", "100", "200", "250", "330", "120", "180"},
                "103,86",
                "-35,05"},
        Example{"DecimalsAndBlanks",
                {" 100,0", "200 ", "3e2", "250", "120", "180", "250", "330"},
                "103,86",
                "-35,05"},
        // Image 1 so small that its squared distance underflows to zero.
        Example{"UnderflowIsSilent",
                {"0", "0", "1E-4000", "1E-4000", "0", "0", "1", "0"},
                "0,00",
                "45,00"},
        // On the edge of a shown decimal, with texts derived by
        // scripts/calc-edge-cases from exact arithmetic (whichever
        // last bit the arc tangent has). K one unit lower shows -55,55.
        Example{"RotateDecidedByKOneUnitLower",
                {"0", "0", "1", "0", "0", "0", "9223372036854775808", "13447725950283775784"},
                "0,00",
                "-55,56"},
        // K one unit higher shows -56,79.
        Example{"RotateDecidedByKOneUnitHigher",
                {"0", "0", "1", "0", "0", "0", "9223372036854775808", "14086739485093521479"},
                "0,00",
                "-56,78"},
        // D2 = 2^63; sqrt(D1) * 100 / sqrt(D2) would show 123,45.
        Example{"ResizeQuotientBeforeRoot",
                {"0", "0", "2813184703", "2478600317", "0", "0", "2147483648", "2147483648"},
                "123,46",
                "-3,62"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StarCalc, IntermediateValuesMatchTheWorkedExample) {
  const StarCalcValues v = CalcScaleRotationValues({100, 200, 300, 250, 120, 180, 250, 330});
  EXPECT_NEAR(static_cast<double>(v.Resize), 103.859530282284893, 1e-12);
  EXPECT_NEAR(static_cast<double>(v.Rotate), -35.0493733120484, 1e-12);
  const StarCalcValues w = CalcScaleRotationValues({0, 0, -1, -100, 0, 0, 100, 0});
  EXPECT_NEAR(static_cast<double>(w.Rotate), 269.427061302316, 1e-11);
  const StarCalcValues z = CalcScaleRotationValues({0, 0, 12345, 0, 0, 0, 1000, 0});
  EXPECT_EQ(z.Resize, 1234.5L);
  EXPECT_TRUE(std::signbit(z.Rotate));  // a negative zero, shown as 0,00
}

TEST(StarCalc, NegativeLayoutZeroUsesParentheses) {
  TFormatSettings s = CommaSettings();
  s.NegCurrFormat = 0;
  EXPECT_EQ(CalcScaleRotation(kWorked, s)->Rotate, "(35,05)");
}

TEST(StarCalc, EveryEmptyFieldMeansIncompleteInput) {
  for (int f = 0; f < 8; ++f) {
    Texts t = {"x", "x", "x", "x", "x", "x", "x", "x"};  // would not convert
    t[f] = "";
    EXPECT_FALSE(CalcScaleRotation(t, CommaSettings()).has_value()) << f;
  }
}

struct Failure {
  const char* name;
  Texts texts;
  const char* message;
};
void PrintTo(const Failure& f, std::ostream* os) { *os << f.name; }

class Failures : public testing::TestWithParam<Failure> {};

TEST_P(Failures, RaiseTheFrameworkError) {
  try {
    CalcScaleRotation(GetParam().texts, CommaSettings());
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, GetParam().message);
  }
  // The error leaves no trace for the next run.
  EXPECT_EQ(CalcScaleRotation(kWorked, CommaSettings())->Resize, "103,86");
}

INSTANTIATE_TEST_SUITE_P(
    Table, Failures,
    testing::Values(Failure{"Blank",
                            {"100", "200", "300", "250", "120", " ", "250", "330"},
                            "' ' is not a valid floating point value"},
                    Failure{"FullStopUnderComma",
                            {"1.5", "200", "300", "250", "120", "180", "250", "330"},
                            "'1.5' is not a valid floating point value"},
                    Failure{"Image2CoincidentImage1Not",
                            {"100", "200", "300", "250", "5", "5", "5", "5"},
                            "Floating point division by zero"},
                    Failure{"CoincidentInBoth",
                            {"1", "1", "1", "1", "5", "5", "5", "5"},
                            "Invalid floating point operation"},
                    Failure{"VerticalInImage2",
                            {"100", "200", "300", "250", "7", "1", "7", "9"},
                            "Floating point division by zero"},
                    Failure{"CoincidentInImage1",
                            {"3", "4", "3", "4", "120", "180", "250", "330"},
                            "Invalid floating point operation"},
                    // Image 2's angle is taken first: its division by zero
                    // comes before image 1's zero by zero.
                    Failure{"CoincidentInImage1VerticalInImage2",
                            {"3", "4", "3", "4", "7", "1", "7", "9"},
                            "Floating point division by zero"},
                    Failure{"VerticalInImage1",
                            {"3", "4", "3", "9", "120", "180", "250", "330"},
                            "Floating point division by zero"},
                    Failure{"SquareOverflows",
                            {"0", "0", "1E3000", "0", "0", "0", "1", "1"},
                            "Floating point overflow"},
                    Failure{"DifferenceOverflows",
                            {"-1E4932", "0", "1E4932", "0", "0", "0", "1", "1"},
                            "Floating point overflow"},
                    Failure{"OutOfRangeText",
                            {"1E5000", "0", "1", "0", "0", "0", "1", "1"},
                            "'1E5000' is not a valid floating point value"}),
    [](const auto& info) { return std::string(info.param.name); });

// The conversion order: the X fields, then the Y fields, each image 1 star 1,
// image 1 star 2, image 2 star 1, image 2 star 2. Two bad texts next to each
// other in it name the first; together the pairs fix the whole order.
constexpr StarField kConversionOrder[8] = {I1S1X, I1S2X, I2S1X, I2S2X, I1S1Y, I1S2Y, I2S1Y, I2S2Y};

class ConversionOrder : public testing::TestWithParam<int> {};

TEST_P(ConversionOrder, NamesTheFirstOfTwoBadTexts) {
  Texts t = kWorked;
  t[kConversionOrder[GetParam()]] = "a";
  t[kConversionOrder[GetParam() + 1]] = "b";
  try {
    CalcScaleRotation(t, CommaSettings());
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'a' is not a valid floating point value");
  }
}

INSTANTIATE_TEST_SUITE_P(NeighbourPairs, ConversionOrder, testing::Range(0, 7));

TEST(StarCalc, FullStopSettingsTakeIntegersAndFullStops) {
  const Texts t = {"100", "200", "300", "250", "120.0", "180", "250", "330"};
  const auto r = CalcScaleRotation(t, FullStopSettings());
  ASSERT_TRUE(r.has_value());
  EXPECT_EQ(r->Resize, "103.86");
  EXPECT_EQ(r->Rotate, "-35.05");
  Texts comma = t;
  comma[I1S2Y] = "1,5";
  EXPECT_THROW(CalcScaleRotation(comma, FullStopSettings()), EConvertError);
}

TEST(StarCalc, RegionalCurrencyTextAppearsInTheLayout) {
  TFormatSettings s = CommaSettings();
  s.CurrencyString = "\x80";
  s.CurrencyFormat = 2;
  s.NegCurrFormat = 9;
  const auto r = CalcScaleRotation(kWorked, s);
  EXPECT_EQ(r->Resize, "\x80 103,86");
  EXPECT_EQ(r->Rotate, "-\x80 35,05");
}

}  // namespace
