#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

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

struct Int64Case {
  const char* name;
  Variant value;
  bool converts;
  int64_t expected;
};
void PrintTo(const Int64Case& c, std::ostream* os) { *os << c.name; }

class VariantInt64 : public testing::TestWithParam<Int64Case> {
 protected:
  void SetUp() override {
    saved = FormatSettings;
    FormatSettings = CommaSettings();
  }
  void TearDown() override { FormatSettings = saved; }
  TFormatSettings saved;
};

// The whole 64-bit range converts, from text and from doubles; one past it raises.
TEST_P(VariantInt64, ConvertsTheWholeRange) {
  const auto& p = GetParam();
  if (p.converts)
    EXPECT_EQ(p.value.AsInt64(), p.expected);
  else
    EXPECT_THROW(p.value.AsInt64(), EVariantError);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VariantInt64,
    testing::Values(Int64Case{"TextNearTheTop", "9222925780982694143", true, 9222925780982694143},
                    Int64Case{"TextTop", "9223372036854775807", true, INT64_MAX},
                    Int64Case{"TextBottom", "-9223372036854775808", true, INT64_MIN},
                    Int64Case{"TextPastTheTop", "9223372036854775808", false, 0},
                    Int64Case{"TextPastTheBottom", "-9223372036854775809", false, 0},
                    Int64Case{"DecimalText", "9223372036854775807,0", true, INT64_MAX},
                    Int64Case{"DecimalTextRoundingPast", "9223372036854775807,5", false, 0},
                    Int64Case{"DoubleBelowTwoTo63", std::nextafter(0x1p63, 0.0), true,
                              9223372036854774784},
                    Int64Case{"DoubleTwoTo63", 0x1p63, false, 0},
                    Int64Case{"DoubleMinusTwoTo63", -0x1p63, true, INT64_MIN},
                    Int64Case{"NaNDate", Variant::FromDate(NAN), false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VariantTest, EveryFiniteDoublePrintsAsTextThatReadsBack) {
  for (const double d :
       {DBL_MAX, -DBL_MAX, std::nextafter(DBL_MAX, 0.0), 1e308, 0.1, DBL_MIN, DBL_TRUE_MIN}) {
    const AnsiString text = Variant(d).AsString();
    const double back = Variant(text).AsDouble();
    EXPECT_NEAR(back, d, std::fabs(d) * 1e-14) << text;
  }
  // Fifteen digits where they read back, seventeen where they would overflow.
  EXPECT_EQ(Variant(1.5e300).AsString(), "1,5E300");
  EXPECT_EQ(Variant(DBL_MAX).AsString(), "1,7976931348623157E308");
}

TEST_F(VariantTest, DateWithoutACalendarDayIsAConversionError) {
  EXPECT_THROW(Variant::FromDate(NAN).AsString(), EConvertError);
  EXPECT_THROW(Variant::FromDate(1e300).AsString(), EConvertError);
}

}  // namespace
