#include <gtest/gtest.h>

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/Variant.h"
#include "tests/support/Settings.h"

namespace {

class VariantTest : public testing::Test {
 protected:
  void SetUp() override {
    saved = FormatSettings;
    FormatSettings = CommaSettings();
  }
  void TearDown() override { FormatSettings = saved; }
  TFormatSettings saved;
};

TEST_F(VariantTest, UnassignedConvertsToEmptyTextAndZero) {
  const Variant v;
  EXPECT_TRUE(v.IsEmpty());
  EXPECT_EQ(v.AsString(), "");
  EXPECT_EQ(v.AsInteger(), 0);
  EXPECT_EQ(v.AsDouble(), 0.0);
  EXPECT_EQ(v.AsDate(), 0.0);
}

TEST_F(VariantTest, NullRefusesEveryConversion) {
  const Variant v = Variant::Null();
  EXPECT_TRUE(v.IsNull());
  EXPECT_THROW(v.AsString(), EVariantError);
  EXPECT_THROW(v.AsInteger(), EVariantError);
  EXPECT_THROW(v.AsDouble(), EVariantError);
}

TEST_F(VariantTest, ConversionsBetweenKinds) {
  EXPECT_EQ(Variant(10).AsString(), "10");
  EXPECT_EQ(Variant("15").AsInteger(), 15);
  EXPECT_EQ(Variant(" 7").AsInteger(), 7);
  EXPECT_EQ(Variant(2.5).AsString(), "2,5");
  EXPECT_EQ(Variant("2,5").AsDouble(), 2.5);
  EXPECT_EQ(Variant(2.5).AsInteger(), 2);  // ties to even
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(static_cast<long long>(1) << 40).AsDouble(), 1099511627776.0);
  EXPECT_THROW(Variant(static_cast<long long>(1) << 40).AsInteger(), EVariantError);
  EXPECT_THROW(Variant("abc").AsInteger(), EVariantError);
  EXPECT_THROW(Variant("abc").AsDouble(), EVariantError);
  const Variant date = Variant::FromDate(EncodeDate(2008, 5, 12));
  EXPECT_EQ(date.AsString(), "12/05/2008");
  EXPECT_EQ(Variant("12/05/2008").AsDate(), EncodeDate(2008, 5, 12));
  EXPECT_THROW(Variant("31/02/2008").AsDate(), EVariantError);
}

TEST_F(VariantTest, CopyClearAndCompare) {
  Variant a("Roma");
  Variant b = a;
  a.Clear();
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(b.AsString(), "Roma");
  EXPECT_TRUE(Variant(1) == Variant(1.0));
  EXPECT_FALSE(Variant("1") == Variant(1));
  EXPECT_TRUE(Variant() == Variant());
  EXPECT_FALSE(Variant() == Variant::Null());
}

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

TEST(StrToInt, ReadsThirtyTwoBitIntegers) {
  EXPECT_EQ(StrToInt("15"), 15);
  EXPECT_EQ(StrToInt(" -7"), -7);
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", " ", "5,5", "2147483648", "1 ", "x1", "-", "99999999999999999999"}) {
    try {
      StrToInt(bad);
      ADD_FAILURE() << bad;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message, "'" + AnsiString(bad) + "' is not a valid integer value");
    }
  }
}

}  // namespace
