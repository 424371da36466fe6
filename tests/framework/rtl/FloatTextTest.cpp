#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FloatText.h"
#include "tests/support/Settings.h"

namespace {

struct Accepted {
  const char* text;
  const char* value;  // the expected value, as C text for strtold
};
void PrintTo(const Accepted& a, std::ostream* os) { *os << '"' << a.text << '"'; }

class StrToFloatAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(StrToFloatAccepts, UnderCommaSettings) {
  const auto& p = GetParam();
  const long double expected = std::strtold(p.value, nullptr);
  const long double got = StrToFloat(p.text, CommaSettings());
  EXPECT_EQ(got, expected) << p.text;
  EXPECT_EQ(std::signbit(got), std::signbit(expected)) << p.text;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, StrToFloatAccepts,
    testing::Values(Accepted{"1,5", "1.5"}, Accepted{"  -2,25  ", "-2.25"}, Accepted{"+3", "3"},
                    Accepted{",", "0"}, Accepted{"-,", "-0"}, Accepted{",5", "0.5"},
                    Accepted{"5,", "5"}, Accepted{"0,1", "0.1"}, Accepted{"1E3", "1000"},
                    Accepted{"1e", "1"}, Accepted{"1E+", "1"}, Accepted{"2e-", "2"},
                    Accepted{"1,5e-2", "0.015"}, Accepted{"007", "7"}, Accepted{"1E4931", "1e4931"},
                    Accepted{"123456789012345678901234567890", "123456789012345678901234567890"},
                    Accepted{"1E-4940", "1e-4940"},  // denormal
                    Accepted{"1E-6000", "0"}));      // below the denormals: zero

class StrToFloatRefuses : public testing::TestWithParam<const char*> {};

TEST_P(StrToFloatRefuses, WithTheWholeTextInTheMessage) {
  const AnsiString text = GetParam();
  try {
    StrToFloat(text, CommaSettings());
    FAIL() << "accepted '" << text << "'";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'" + text + "' is not a valid floating point value");
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, StrToFloatRefuses,
                         testing::Values("", " ", "1.5", "1,2,3", "1 000", "1.000,5", "\t1", "1\t",
                                         "E5", "+", "-", "+E1", "1E5,5", "abc", "0x10", "inf",
                                         "nan", "1E5000", "-1E5000", "--1", "1e--2", "1 5", "1,5,",
                                         "\xA0"
                                         "1"));

TEST(StrToFloat, FollowsTheDecimalSeparatorOfTheSettings) {
  EXPECT_EQ(StrToFloat("1.5", FullStopSettings()), 1.5L);
  EXPECT_THROW(StrToFloat("1,5", FullStopSettings()), EConvertError);
  EXPECT_EQ(StrToFloat(" , ", CommaSettings()), 0.0L);
  long double v = 7;
  EXPECT_FALSE(TryStrToFloat("x", v, CommaSettings()));
  EXPECT_EQ(v, 7);  // untouched on failure
}

struct Formatted {
  long double value;
  const char* text;
};
void PrintTo(const Formatted& f, std::ostream* os) { *os << f.text; }

class CurrencyText : public testing::TestWithParam<Formatted> {};

TEST_P(CurrencyText, UnderCommaSettings) {
  EXPECT_EQ(FloatToStrF(GetParam().value, ffCurrency, 18, 2, CommaSettings()), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rounding, CurrencyText,
    testing::Values(
        Formatted{103.859530282284893L, "103,86"}, Formatted{-35.0493733120484L, "-35,05"},
        Formatted{1234.5L, "1.234,50"}, Formatted{0.0L, "0,00"}, Formatted{-0.0L, "0,00"},
        Formatted{0.125L, "0,13"}, Formatted{-0.125L, "-0,13"}, Formatted{0.124999L, "0,12"},
        Formatted{-0.004L, "0,00"}, Formatted{0.005L, "0,01"},
        // 0.995 is not exact, but its 18-digit form ends in 5: rounds up.
        Formatted{0.995L, "1,00"}, Formatted{-9.995L, "-10,00"}, Formatted{999.999L, "1.000,00"},
        Formatted{12.0L, "12,00"}, Formatted{100.0L, "100,00"},
        Formatted{123456789012345678.0L, "123.456.789.012.345.678,00"},
        Formatted{999999999999999998.5L, "999.999.999.999.999.998,00"},  // tie to even
        Formatted{999999999999999999.5L, "1E18"},                        // tie to even, up
        Formatted{1e18L, "1E18"}, Formatted{1.5e20L, "1,5E20"}, Formatted{-1.5e20L, "-1,5E20"},
        Formatted{1234567890123456789012.0L, "1,23456789012345679E21"},
        Formatted{1e300L, "1E300"}));

// Two steps, not one: the value is first brought to 18 digits, which can
// turn a value just below .005 into .005 exactly, and then rounds up.
TEST(CurrencyTextRounding, EighteenDigitsComeFirst) {
  const long double below = std::nextafterl(0.005L, 0.0L);
  ASSERT_LT(below, 0.005L);
  EXPECT_EQ(FloatToStrF(below, ffCurrency, 18, 2, CommaSettings()), "0,01");
  EXPECT_EQ(FloatToStrF(-below, ffCurrency, 18, 2, CommaSettings()), "-0,01");
}

TEST(CurrencyTextLayouts, EveryPositiveAndNegativeLayoutWithACurrencyText) {
  TFormatSettings s = CommaSettings();
  s.CurrencyString = "\x80";  // €
  const char* positive[] = {
      "\x80"
      "1.234,50",
      "1.234,50\x80", "\x80 1.234,50", "1.234,50 \x80"};
  for (int layout = 0; layout < 4; ++layout) {
    s.CurrencyFormat = static_cast<unsigned char>(layout);
    EXPECT_EQ(FloatToStrF(1234.5L, ffCurrency, 18, 2, s), positive[layout]) << layout;
  }
  const char* negative[] = {
      "(\x80"
      "1.234,50)",
      "-\x80"
      "1.234,50",
      "\x80-1.234,50",
      "\x80"
      "1.234,50-",
      "(1.234,50\x80)",
      "-1.234,50\x80",
      "1.234,50-\x80",
      "1.234,50\x80-",
      "-1.234,50 \x80",
      "-\x80 1.234,50",
      "1.234,50 \x80-",
      "\x80 1.234,50-",
      "\x80 -1.234,50",
      "1.234,50- \x80",
      "(\x80 1.234,50)",
      "(1.234,50 \x80)"};
  for (int layout = 0; layout < 16; ++layout) {
    s.NegCurrFormat = static_cast<unsigned char>(layout);
    EXPECT_EQ(FloatToStrF(-1234.5L, ffCurrency, 18, 2, s), negative[layout]) << layout;
  }
  // A layout number beyond the last is taken as the last one.
  s.CurrencyFormat = 9;
  s.NegCurrFormat = 40;
  EXPECT_EQ(FloatToStrF(1234.5L, ffCurrency, 18, 2, s), positive[3]);
  EXPECT_EQ(FloatToStrF(-1234.5L, ffCurrency, 18, 2, s), negative[15]);
  // A rounded zero takes the positive layout; the scientific form takes none.
  EXPECT_EQ(FloatToStrF(-0.001L, ffCurrency, 18, 2, s), "0,00 \x80");
  EXPECT_EQ(FloatToStrF(-2e19L, ffCurrency, 18, 2, s), "-2E19");
}

TEST(CurrencyTextLayouts, EmptyCurrencyTextKeepsTheBlanks) {
  TFormatSettings s = CommaSettings();
  s.NegCurrFormat = 0;
  EXPECT_EQ(FloatToStrF(-35.0493L, ffCurrency, 18, 2, s), "(35,05)");
  s.NegCurrFormat = 9;
  EXPECT_EQ(FloatToStrF(-35.0493L, ffCurrency, 18, 2, s), "- 35,05");
  s.CurrencyFormat = 3;
  EXPECT_EQ(FloatToStrF(35.0493L, ffCurrency, 18, 2, s), "35,05 ");
}

TEST(FloatToStr, GeneralFormIsTheShortest) {
  const TFormatSettings s = CommaSettings();
  EXPECT_EQ(FloatToStr(1.5L, s), "1,5");
  EXPECT_EQ(FloatToStr(-2.25L, s), "-2,25");
  EXPECT_EQ(FloatToStr(100.0L, s), "100");
  EXPECT_EQ(FloatToStr(0.0L, s), "0");
  EXPECT_EQ(FloatToStr(0.0001L, s), "0,0001");
  EXPECT_EQ(FloatToStr(0.00001L, s), "1E-5");
  EXPECT_EQ(FloatToStr(1e20L, s), "1E20");
  EXPECT_EQ(FloatToStr(0.1L, s), "0,1");
  EXPECT_EQ(FloatToStrF(12345.678L, ffFixed, 18, 2, s), "12345,68");
  EXPECT_EQ(FloatToStrF(-12345.678L, ffNumber, 18, 1, s), "-12.345,7");
}

}  // namespace
