#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "framework/rtl/DateUtils.h"
#include "framework/rtl/Exceptions.h"
#include "tests/support/Settings.h"

namespace {

TEST(Dates, DayNumbersRoundTrip) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 3, 1), 36586.0);
  for (TDateTime d = -693593; d < 2958465; d += 997) {
    int y, m, dd;
    DecodeDate(d, y, m, dd);
    EXPECT_EQ(EncodeDate(y, m, dd), d);
  }
  EXPECT_THROW(EncodeDate(2007, 2, 29), EConvertError);
  EXPECT_NO_THROW(EncodeDate(2008, 2, 29));
  EXPECT_THROW(EncodeDate(2008, 13, 1), EConvertError);
  EXPECT_THROW(EncodeDate(2008, 0, 1), EConvertError);
}

TEST(Dates, ClockCanBePinned) {
  SetNowFunction([] { return EncodeDate(2031, 7, 4) + 0.75; });
  EXPECT_EQ(Date(), EncodeDate(2031, 7, 4));
  SetNowFunction(nullptr);
  int y, m, d;
  DecodeDate(Date(), y, m, d);
  EXPECT_GE(y, 2024);
}

struct DateText {
  const char* text;
  int y, m, d, h, n, s;
};

class StrToDateTimeReads : public testing::TestWithParam<DateText> {};

TEST_P(StrToDateTimeReads, InTheShortDateOrder) {
  SetNowFunction([] { return EncodeDate(2026, 12, 8); });
  const auto& p = GetParam();
  const TDateTime expected = EncodeDate(p.y, p.m, p.d) + EncodeTime(p.h, p.n, p.s, 0);
  EXPECT_DOUBLE_EQ(StrToDateTime(p.text, CommaSettings()), expected) << p.text;
  SetNowFunction(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Forms, StrToDateTimeReads,
                         testing::Values(DateText{"12/05/2008", 2008, 5, 12, 0, 0, 0},
                                         DateText{"1/5/2008", 2008, 5, 1, 0, 0, 0},
                                         DateText{" 12/05/08", 2008, 5, 12, 0, 0, 0},
                                         DateText{"12/05/80", 1980, 5, 12, 0, 0, 0},
                                         DateText{"12/05", 2026, 5, 12, 0, 0, 0},
                                         DateText{"12/05/2008 13:45", 2008, 5, 12, 13, 45, 0},
                                         DateText{"12/05/2008 1:02:03", 2008, 5, 12, 1, 2, 3}));

TEST(StrToDateTime, RefusesWhatIsNoDate) {
  for (const char* bad : {"", "12", "31/02/2008", "00/05/2008", "12/13/2008", "12-05-2008",
                          "12/05/2008 25:00", "12/05/2008x", "ab/cd/efgh", "12//2008"}) {
    try {
      StrToDateTime(bad, CommaSettings());
      ADD_FAILURE() << bad;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "'" + AnsiString(bad) + "' is not a valid date and time");
    }
  }
  TFormatSettings us = CommaSettings();
  us.ShortDateFormat = "mm/dd/yyyy";
  EXPECT_EQ(StrToDateTime("05/12/2008", us), EncodeDate(2008, 5, 12));
}

// NaN, infinities and day numbers beyond 0001-01-01..9999-12-31 have no date.
class OutsideTheCalendar : public testing::TestWithParam<double> {};

TEST_P(OutsideTheCalendar, IsAConversionError) {
  int y = 0, m = 0, d = 0;
  EXPECT_FALSE(TryDecodeDate(GetParam(), y, m, d));
  EXPECT_THROW(DecodeDate(GetParam(), y, m, d), EConvertError);
  EXPECT_THROW(DateTimeToStr(GetParam(), CommaSettings()), EConvertError);
}

INSTANTIATE_TEST_SUITE_P(Values, OutsideTheCalendar,
                         testing::Values(NAN, INFINITY, -INFINITY, 1e300, -1e300, 9.3e18, 2958466.0,
                                         -693594.0));

struct DateTimeText {
  const char* text;
  TDateTime value;
};
void PrintTo(const DateTimeText& t, std::ostream* os) { *os << t.text; }

class DateTimeTexts : public testing::TestWithParam<DateTimeText> {};

// The day is the whole part and the time the magnitude of the fraction, on
// both sides of day 0, so each text reads and prints back unchanged.
TEST_P(DateTimeTexts, ReadAndPrintBack) {
  const auto& p = GetParam();
  const TDateTime v = StrToDateTime(p.text, CommaSettings());
  EXPECT_DOUBLE_EQ(v, p.value);
  EXPECT_EQ(DateTimeToStr(v, CommaSettings()), p.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateTimeTexts,
    testing::Values(DateTimeText{"29/12/1899 06:00:00", -1.25},
                    DateTimeText{"30/12/1899 18:00:00", 0.75}, DateTimeText{"28/12/1899", -2.0},
                    DateTimeText{"01/01/0001 00:00:01", -693593.0 - 1.0 / 86400},
                    DateTimeText{"01/01/0001 23:59:59", -693593.0 - 86399.0 / 86400},
                    DateTimeText{"31/12/9999 23:59:59", 2958465.0 + 86399.0 / 86400}));

TEST(StrToDateTime, ClockBeyondTheCalendarRefusesOnlyTextsThatNeedToday) {
  SetNowFunction([] { return NAN; });
  TDateTime v;
  EXPECT_FALSE(TryStrToDateTime("12/05", v, CommaSettings()));
  EXPECT_FALSE(TryStrToDateTime("12/05/08", v, CommaSettings()));
  EXPECT_TRUE(TryStrToDateTime("12/05/2008", v, CommaSettings()));
  SetNowFunction(nullptr);
}

struct IntegerText {
  const char* text;
  bool fits32, fits64;
  int64_t value;
};
void PrintTo(const IntegerText& t, std::ostream* os) { *os << '"' << t.text << '"'; }

class IntegerTexts : public testing::TestWithParam<IntegerText> {};

TEST_P(IntegerTexts, ReadInThirtyTwoAndSixtyFourBits) {
  const auto& p = GetParam();
  int i = 0;
  int64_t l = 0;
  ASSERT_EQ(TryStrToInt(p.text, i), p.fits32);
  ASSERT_EQ(TryStrToInt64(p.text, l), p.fits64);
  if (p.fits32) {
    EXPECT_EQ(i, p.value);
  } else {
    EXPECT_THROW(StrToInt(p.text), EConvertError);
  }
  if (p.fits64) {
    EXPECT_EQ(l, p.value);
    return;
  }
  try {
    StrToInt64(p.text);
    FAIL() << "accepted";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'" + AnsiString(p.text) + "' is not a valid integer value");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IntegerTexts,
    testing::Values(IntegerText{"15", true, true, 15}, IntegerText{" -7", true, true, -7},
                    IntegerText{"$1F", true, true, 31}, IntegerText{"0x1f", true, true, 31},
                    IntegerText{"2147483647", true, true, INT32_MAX},
                    IntegerText{"-2147483648", true, true, INT32_MIN},
                    IntegerText{"2147483648", false, true, 2147483648},
                    IntegerText{"9222925780982694143", false, true, 9222925780982694143},
                    IntegerText{"9223372036854775807", false, true, INT64_MAX},
                    IntegerText{"-9223372036854775808", false, true, INT64_MIN},
                    IntegerText{"$7FFFFFFFFFFFFFFF", false, true, INT64_MAX},
                    IntegerText{"9223372036854775808", false, false, 0},
                    IntegerText{"-9223372036854775809", false, false, 0},
                    IntegerText{"$8000000000000000", false, false, 0},
                    IntegerText{"99999999999999999999", false, false, 0},
                    IntegerText{"", false, false, 0}, IntegerText{" ", false, false, 0},
                    IntegerText{"5,5", false, false, 0}, IntegerText{"1 ", false, false, 0},
                    IntegerText{"x1", false, false, 0}, IntegerText{"-", false, false, 0},
                    IntegerText{"$", false, false, 0}));

}  // namespace
