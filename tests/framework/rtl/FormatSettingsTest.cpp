#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "framework/rtl/FormatSettings.h"
#include "tests/support/Locales.h"

namespace {

struct Negative {
  int signPosn, csPrecedes, sepBySpace;
  int layout;
};
void PrintTo(const Negative& n, std::ostream* os) {
  *os << n.signPosn << '/' << n.csPrecedes << '/' << n.sepBySpace;
}

class NegativeLayout : public testing::TestWithParam<Negative> {};

TEST_P(NegativeLayout, MapsTheMonetaryFields) {
  const auto& p = GetParam();
  EXPECT_EQ(NegativeCurrencyFormat(p.signPosn, p.csPrecedes, p.sepBySpace), p.layout);
}

// Sign position, then (precedes, space) in the order 1/0, 0/0, 1/1, 0/1.
INSTANTIATE_TEST_SUITE_P(
    Table, NegativeLayout,
    testing::Values(Negative{0, 1, 0, 0}, Negative{0, 0, 0, 4}, Negative{0, 1, 1, 14},
                    Negative{0, 0, 1, 15}, Negative{1, 1, 0, 1}, Negative{1, 0, 0, 5},
                    Negative{1, 1, 1, 9}, Negative{1, 0, 1, 8}, Negative{2, 1, 0, 3},
                    Negative{2, 0, 0, 7}, Negative{2, 1, 1, 11}, Negative{2, 0, 1, 10},
                    Negative{3, 1, 0, 1}, Negative{3, 0, 0, 6}, Negative{3, 1, 1, 9},
                    Negative{3, 0, 1, 13}, Negative{4, 1, 0, 2}, Negative{4, 0, 0, 7},
                    Negative{4, 1, 1, 12}, Negative{4, 0, 1, 10},
                    // a space of 2 counts as 1; unspecified fields take 1, 1, 0
                    Negative{1, 1, 2, 9}, Negative{CHAR_MAX, CHAR_MAX, CHAR_MAX, 1},
                    Negative{CHAR_MAX, 0, 1, 8}));

TEST(PositiveLayout, MapsTheMonetaryFields) {
  EXPECT_EQ(PositiveCurrencyFormat(1, 0), 0);
  EXPECT_EQ(PositiveCurrencyFormat(0, 0), 1);
  EXPECT_EQ(PositiveCurrencyFormat(1, 1), 2);
  EXPECT_EQ(PositiveCurrencyFormat(0, 1), 3);
  EXPECT_EQ(PositiveCurrencyFormat(0, 2), 3);
  EXPECT_EQ(PositiveCurrencyFormat(CHAR_MAX, CHAR_MAX), 0);
}

TEST(ShortDateFormat, TranslatesThePosixPattern) {
  char sep = '?';
  EXPECT_EQ(ShortDateFormatFromPosix("%d/%m/%Y", sep), "dd/mm/yyyy");
  EXPECT_EQ(sep, '/');
  EXPECT_EQ(ShortDateFormatFromPosix("%d.%m.%Y", sep), "dd.mm.yyyy");
  EXPECT_EQ(sep, '.');
  EXPECT_EQ(ShortDateFormatFromPosix("%F", sep), "yyyy-mm-dd");
  EXPECT_EQ(sep, '-');
  sep = '/';
  EXPECT_EQ(ShortDateFormatFromPosix("%m/%d/%y", sep), "mm/dd/yy");
}

TEST(Separators, FallBackOrBecomeTheNoBreakSpace) {
  EXPECT_EQ(SeparatorChar("", false, '.'), '.');
  EXPECT_EQ(SeparatorChar(",", false, '.'), ',');
  EXPECT_EQ(SeparatorChar("?", true, '.'), '\xA0');  // U+202F has no code
}

// Real locales, compiled into a private folder with localedef so the test
// does not depend on the machine's generated locales.
class LocaleSettings : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = CompiledLocaleDir("it_IT", "UTF-8", "it_IT.UTF-8");
    ok_ = !dir_.empty() && !CompiledLocaleDir("fr_FR", "UTF-8", "fr_FR.UTF-8").empty() &&
          !CompiledLocaleDir("it_IT@euro", "ISO-8859-15", "it_IT@euro").empty();
  }
  TFormatSettings Load(const char* name) {
    setenv("LOCPATH", dir_.c_str(), 1);
    if (std::setlocale(LC_ALL, name) == nullptr) return TFormatSettings{};
    TFormatSettings s = FormatSettingsFromLocale();
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
    return s;
  }
  void SetUp() override {
    if (!ok_) GTEST_SKIP() << "localedef could not build the test locales";
  }
  static inline std::string dir_;
  static inline bool ok_ = false;
};

TEST_F(LocaleSettings, ItalianUtf8) {
  const TFormatSettings s = Load("it_IT.UTF-8");
  EXPECT_EQ(s.DecimalSeparator, ',');
  EXPECT_EQ(s.ThousandSeparator, '.');
  EXPECT_EQ(s.CurrencyString, "\x80");
  EXPECT_EQ(s.CurrencyFormat, 2);
  EXPECT_EQ(s.NegCurrFormat, 9);
  EXPECT_EQ(s.CurrencyDecimals, 2);
  EXPECT_EQ(s.DateSeparator, '/');
  EXPECT_EQ(s.ShortDateFormat, "dd/mm/yyyy");
}

TEST_F(LocaleSettings, FrenchThousandsSeparatorBecomesNoBreakSpace) {
  const TFormatSettings s = Load("fr_FR.UTF-8");
  EXPECT_EQ(s.DecimalSeparator, ',');
  EXPECT_EQ(s.ThousandSeparator, '\xA0');
  EXPECT_EQ(s.CurrencyString, "\x80");
  EXPECT_EQ(s.CurrencyFormat, 3);
  EXPECT_EQ(s.NegCurrFormat, 8);
}

TEST_F(LocaleSettings, EightBitLocaleTextsAreConverted) {
  const TFormatSettings s = Load("it_IT@euro");
  EXPECT_EQ(s.CurrencyString, "\x80");  // 0xA4 in ISO-8859-15
  EXPECT_EQ(s.DecimalSeparator, ',');
}

TEST_F(LocaleSettings, PosixLocaleGivesTheFallbacks) {
  const TFormatSettings s = Load("C");
  EXPECT_EQ(s.DecimalSeparator, '.');
  EXPECT_EQ(s.ThousandSeparator, ',');
  EXPECT_EQ(s.CurrencyString, "");
  EXPECT_EQ(s.CurrencyFormat, 0);
  EXPECT_EQ(s.NegCurrFormat, 1);
  EXPECT_EQ(s.DateSeparator, '/');
}

}  // namespace
