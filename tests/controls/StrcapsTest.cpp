#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <ostream>
#include <tuple>
#include <vector>

#include "controls/Strcaps.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/FormatSettings.h"
#include "tests/support/RecordingServices.h"

namespace {

using TextOp = AnsiString (TStringCaps::*)(const AnsiString&);

struct FilterRow {
  TextOp Op;
  AnsiString Input;
  AnsiString Output;
};

void PrintTo(const FilterRow& r, std::ostream* os) {
  *os << '"' << r.Input << "\" -> \"" << r.Output << '"';
}

constexpr TextOp kFirst = &TStringCaps::FirstCapFilter;
constexpr TextOp kCong = &TStringCaps::FirstCapCongFilter;
constexpr TextOp kOne = &TStringCaps::OneCapFilter;
constexpr TextOp kAll = &TStringCaps::AllCapsFilter;

// Windows-1252 bytes: è é À.
const AnsiString e_ = "\xE8", eAcute = "\xE9", A_ = "\xC0";

const FilterRow kFilterRows[] = {
    {kFirst, "mario rossi", "Mario Rossi"},
    {kFirst, "MARIO ROSSI", "Mario Rossi"},
    {kFirst, "jean-luc", "Jean-Luc"},
    {kFirst, "o'neill", "O'Neill"},
    {kFirst, "a.b.c", "A.B.C"},
    {kFirst, "vittorio emanuele iii", "Vittorio Emanuele III"},
    {kFirst, "ss 113", "SS 113"},
    {kFirst, "ooo", "OOO"},
    {kFirst, "aaron", "Aaron"},
    {kFirst, "eeva", "Eeva"},
    {kFirst, "uuno", "Uuno"},
    {kFirst, "CITT" + A_, "Citt" + A_},
    {kFirst, eAcute + "cole", eAcute + "cole"},
    {kFirst, "perch" + eAcute + " no",
     "Perch" + eAcute + " No"},  // an accented letter continues a word
    {kFirst, "", ""},
    {kCong, "piazza DELLA signoria", "Piazza della Signoria"},
    {kCong, "via dei mille", "Via dei Mille"},
    {kCong, "museo degli uffizi", "Museo degli Uffizi"},
    {kCong, "via le mani", "Via le Mani"},
    {kCong, "via dell'orto", "Via dell'Orto"},
    {kCong, "via l'aquila", "Via l'Aquila"},
    {kCong, "l'aquila", "L'Aquila"},
    {kCong, "roma e milano", "Roma e Milano"},
    {kCong, "gli amici", "Gli Amici"},
    {kCong, "della casa", "Della Casa"},
    {kCong, "3 del", "3 del"},
    {kCong, "3a strada", "3a Strada"},
    {kCong, "piazza della.", "Piazza Della."},
    {kCong, "s.della", "S.Della"},
    {kCong, "dal dal", "Dal dal"},
    {kCong, "via dalli alle dallo,con", "Via Dalli alle dallo,con"},
    {kOne, "roma nord", "Roma nord"},
    {kOne, e_ + " qui", e_ + " qui"},
    {kOne, "", ""},
    {kAll, "via " + e_, "VIA " + e_},
};

class TextFilters : public ::testing::TestWithParam<FilterRow> {};

TEST_P(TextFilters, GiveTheTabledText) {
  TStringCaps caps;
  EXPECT_EQ((caps.*GetParam().Op)(GetParam().Input), GetParam().Output);
}
INSTANTIATE_TEST_SUITE_P(Strcaps, TextFilters, ::testing::ValuesIn(kFilterRows));

TEST(Strcaps, FilterAppliesTheFilterItsTypeNames) {
  TStringCaps caps;
  const AnsiString text = "via DELLA s.della " + e_;
  const std::pair<CharFilterType, TextOp> rows[] = {
      {chDefault, nullptr}, {chFirstCap, kFirst}, {chFirstCapCong, kCong},
      {chOneCap, kOne},     {chAllCaps, kAll},    {chDate, nullptr},
      {chNumber, nullptr},  {chDecimal, nullptr}, {chEMail, nullptr}};
  for (const auto& [type, op] : rows) {
    EXPECT_EQ(caps.Filter(text, type), op ? (caps.*op)(text) : text) << int(type);
  }
}

// Every listed particle is found through its letter's group, in any case, but
// only as a word of its own after the first.
TEST(Strcaps, EveryCongWordIsFoundAndKeptSmall) {
  TStringCaps caps;
  EXPECT_TRUE(std::is_sorted(CongWords.begin(), CongWords.end()));
  for (const std::string_view w : CongWords) {
    const AnsiString word(w);
    SCOPED_TRACE(word);
    const auto group = CongWordsStartingWith(UpCaseAscii(word[0]));
    EXPECT_NE(std::find(group.begin(), group.end(), w), group.end());
    EXPECT_TRUE(IsCongWord(UpperCaseAscii(word)));
    EXPECT_EQ(caps.FirstCapCongFilter("via " + UpperCaseAscii(word) + " roma"),
              "Via " + word + " Roma");
    for (const AnsiString tail : {"", " ", "'", "1", "."}) {
      EXPECT_EQ(caps.FirstCapCongFilter(word + tail), caps.FirstCapFilter(word + tail));
    }
    EXPECT_FALSE(IsCongWord(word + "x"));
  }
  EXPECT_TRUE(CongWordsStartingWith('b').empty());
  EXPECT_TRUE(CongWordsStartingWith('\xE0').empty());
}

TEST(Strcaps, NumberFiltersAdmitDigitsEditingKeysAndTheDecimalSeparator) {
  for (int k = 0; k < 256; ++k) {
    const char key = static_cast<char>(k);
    const bool number = (k >= '0' && k <= '9') || k == 8 || k == 9 || k == 13 || k == 27;
    EXPECT_EQ(NumberFilterAdmits(key, chNumber, ','), number) << k;
    EXPECT_EQ(NumberFilterAdmits(key, chDecimal, ','), number || k == ',') << k;
    EXPECT_EQ(NumberFilterAdmits(key, chDecimal, '.'), number || k == '.') << k;
    EXPECT_TRUE(NumberFilterAdmits(key, chDefault, ','));
    EXPECT_TRUE(NumberFilterAdmits(key, chDate, ','));
  }
}

// A date field as the edit box keeps it; tests pin the separator and the clock.
class DateTypingBase {
 protected:
  DateTypingBase() {
    FormatSettings.DateSeparator = '/';
    PinYear(2008);
  }
  ~DateTypingBase() {
    FormatSettings.DateSeparator = savedSeparator;
    SetNowFunction(nullptr);
  }
  static void PinYear(int year) {
    SetNowFunction([year] { return EncodeDate(year, 6, 5); });
  }
  // One key the way the edit box handles it: a completion replaces the text,
  // an accepted key is inserted over the selection.
  char Type(char key, DateAgeType age) {
    AnsiString t;
    int s = 0, e = 0;
    const char r = DateKeyProcess(caps, key, text, selStart, selEnd, age, t, s, e);
    if (r == 1) {
      text = t, selStart = s, selEnd = e;
    } else if (r != 0) {
      text.replace(selStart, selEnd - selStart, 1, r);
      selEnd = ++selStart;
    }
    return r;
  }
  void Field(const AnsiString& t, int s, int e) { text = t, selStart = s, selEnd = e; }

  const char savedSeparator = FormatSettings.DateSeparator;
  TRecordingServices services;
  TStringCaps caps;
  AnsiString text;
  int selStart = 0, selEnd = 0;
};

struct TypingRow {
  DateAgeType Age;
  AnsiString Keys;
  AnsiString Texts;  // the text after each key, ";"-separated
  size_t Beeps;
};

void PrintTo(const TypingRow& r, std::ostream* os) { *os << int(r.Age) << " \"" << r.Keys << '"'; }

const TypingRow kTypingRows[] = {
    {dtCurrent, "50608", "5/;5/0;5/06/20;5/06/200;5/06/2008", 0},
    {dt1900, "1205", "1;12/;12/0;12/05/19", 0},
    {dtNone, "1/508", "1;1/;1/5/;1/5/0;1/5/08", 0},
    {dtNone, "1/1/", "1;1/;1/1;1/1/", 0},
    {dtCurrent, "1/1/", "1;1/;1/1;1/1/20", 0},
    {dt2000, "31/1", "3;31/;31/;31/1", 1},
    {dtCurrent, "00", "0;00/", 0},
    {dtCurrent, "1205085", "1;12/;12/0;12/05/20;12/05/200;12/05/2008;12/05/2008", 1},
    {dtCurrent, "/1//", ";1;1/;1/", 2},
};

class DateTypingTable : public DateTypingBase,
                        public ::testing::TestWithParam<std::tuple<TypingRow, char>> {};

TEST_P(DateTypingTable, CompletesWhileTypingAtTheEnd) {
  const auto& [row, separator] = GetParam();
  FormatSettings.DateSeparator = separator;
  auto local = [&](AnsiString s) {
    std::replace(s.begin(), s.end(), '/', separator);
    return s;
  };
  AnsiString after;
  for (const char key : local(row.Keys)) {
    Type(key, row.Age);
    EXPECT_EQ(selStart, static_cast<int>(text.size()));
    after += text + ";";
  }
  EXPECT_EQ(after, local(row.Texts) + ";");
  EXPECT_EQ(services.Beeps.size(), row.Beeps);
  for (const unsigned beep : services.Beeps) EXPECT_EQ(beep, MB_SIMPLEBEEP);
}
INSTANTIATE_TEST_SUITE_P(Strcaps, DateTypingTable,
                         ::testing::Combine(::testing::ValuesIn(kTypingRows),
                                            ::testing::Values('/', '.', '-')));

// One key on a field: its outcome is "refused", "typed" (let through as
// typed) or the completed text.
struct KeyRow {
  AnsiString Text;
  int SelStart, SelEnd;
  char Key;
  AnsiString Outcome;
};

void PrintTo(const KeyRow& r, std::ostream* os) {
  *os << '"' << r.Text << "\" sel " << r.SelStart << ".." << r.SelEnd << " key " << int(r.Key);
}

const KeyRow kKeyRows[] = {
    {"", 0, 0, '/', "refused"},
    {"1/", 2, 2, '/', "refused"},
    {"1/1/", 4, 4, '/', "refused"},
    {"1", 1, 1, 'a', "refused"},
    {"1", 1, 1, ' ', "refused"},
    {"1", 1, 1, 3, "refused"},
    {"1", 1, 1, 22, "refused"},
    {"1", 1, 1, 24, "refused"},
    {"12/05/2008", 10, 10, '5', "refused"},  // a fifth year digit
    {"2/", 0, 0, '4', "refused"},            // in front of the day
    {"2/", 0, 0, '3', "refused"},
    {"1/", 0, 0, '3', "typed"},
    {"12/0", 3, 3, '2', "refused"},  // in front of the month
    {"12/0", 3, 3, '1', "typed"},
    {"12/05/2008", 0, 0, '1', "typed"},
    {"1", 0, 0, '2', "typed"},  // inside the text: no completion
    {"12", 1, 1, '/', "typed"},
    {"12/05/2008", 10, 10, 8, "typed"},
    {"12/05/2008", 4, 4, 13, "typed"},
    {"", 0, 0, 27, "typed"},
    {"1", 1, 1, 9, "typed"},
    {"12/05", 4, 5, '/', "12/05/20"},  // the selection is not removed first
    {"12/05/2008", 0, 10, '/', "refused"},
};

class DateKeys : public DateTypingBase, public ::testing::TestWithParam<KeyRow> {};

TEST_P(DateKeys, AreRefusedTypedOrCompleted) {
  const KeyRow& row = GetParam();
  Field(row.Text, row.SelStart, row.SelEnd);
  const char r = Type(row.Key, dtCurrent);
  const AnsiString outcome = r == 0 ? "refused" : r == row.Key ? "typed" : r == 1 ? text : "?";
  EXPECT_EQ(outcome, row.Outcome);
  EXPECT_EQ(services.Beeps.size(), r == 0 ? 1u : 0u);
}
INSTANTIATE_TEST_SUITE_P(Strcaps, DateKeys, ::testing::ValuesIn(kKeyRows));

class DateTyping : public DateTypingBase, public ::testing::Test {};

TEST_F(DateTyping, DayAndMonthDigitsAreBounded) {
  for (char key = '0'; key <= '9'; ++key) {
    Field("3", 1, 1);
    EXPECT_EQ(Type(key, dtNone) == 0, key >= '2') << key;  // day at most 31
    Field("31/1", 4, 4);
    EXPECT_EQ(Type(key, dtNone) == 0, key >= '3') << key;  // month at most 12
    Field("12/05/2008", 0, 10);                            // whole text selected
    Type(key, dtNone);
    EXPECT_EQ(text, (key >= '4' ? AnsiString{key, '/'} : AnsiString{key}));
  }
}

TEST_F(DateTyping, CurrentCenturyFollowsTheClock) {
  const std::pair<TDateTime, AnsiString> rows[] = {{EncodeDate(1999, 12, 31), "1/1/19"},
                                                   {EncodeDate(2100, 1, 1), "1/1/21"},
                                                   {EncodeDate(5, 1, 1), "1/1/0"},
                                                   {4e9, "1/1/"},  // past year 9999: none
                                                   {NAN, "1/1/"}};
  for (const auto& [now, expected] : rows) {
    SetNowFunction([now = now] { return now; });
    Field("1/1", 3, 3);
    EXPECT_EQ(Type('/', dtCurrent), 1);
    EXPECT_EQ(text, expected);
    Field("1/1", 3, 3);
    Type('/', dt1900);
    EXPECT_EQ(text, "1/1/19");
  }
}

TEST_F(DateTyping, TypingInFrontOfACompleteDateKeepsItWhole) {
  Field("12/05/2008", 0, 0);
  for (int i = 0; i < 50; ++i) {
    selStart = selEnd = 0;
    EXPECT_EQ(Type('1', dtCurrent), '1');
  }
  EXPECT_EQ(text, AnsiString(50, '1') + "12/05/2008");
  selStart = selEnd = static_cast<int>(text.size());
  EXPECT_EQ(Type('9', dtCurrent), 0);
  Field(AnsiString(60, '1') + "/1", 62, 62);
  EXPECT_EQ(Type('/', dtCurrent), 1);
  EXPECT_EQ(text, AnsiString(60, '1') + "/1/20");
}

// Long and odd texts, every selection shape (caret, forward, backward, out of
// range) and a buffer of exactly the promised size: the rule writes only on a
// completion, appends at most four characters, and keeps the caller's text
// and selection otherwise.
TEST_F(DateTyping, StaysInsideItsBufferWhateverTheTextAndSelection) {
  const AnsiString texts[] = {"",
                              "1",
                              "12/",
                              "31/1",
                              "12/05",
                              "12/05/2008",
                              "1/1/",
                              "112/05/2008",
                              "12/05/2008/11",
                              "//",
                              "1a/\xE0-2",
                              AnsiString(40, '1'),
                              "1/" + AnsiString(300, '1'),
                              AnsiString(300, '7') + "/",
                              "12/05/" + AnsiString(500, '9')};
  const char keys[] = {'0', '1', '3', '4', '9', '/', 8, 'x'};
  for (const AnsiString& t : texts) {
    const int n = static_cast<int>(t.size());
    std::vector<int> sels = {INT_MIN, -1, 0, 1, 2, 11, 12, n / 2, n - 1, n, n + 1, INT_MAX};
    if (n <= 20) {
      sels.clear();
      for (int i = -2; i <= n + 2; ++i) sels.push_back(i);
    }
    for (const int s0 : sels) {
      for (const int e0 : sels) {
        for (const char key : keys) {
          auto buffer = std::make_unique<char[]>(t.size() + 5);
          std::memcpy(buffer.get(), t.c_str(), t.size() + 1);
          int s = s0, e = e0;
          const size_t beeps = services.Beeps.size();
          const char r = caps.CharDateProcess(key, buffer.get(), s, e, dtCurrent);
          const AnsiString out(buffer.get());
          const bool ok = r == 1 ? out.size() <= t.size() + 4 &&
                                       (out.starts_with(t) || out.size() <= 4) &&
                                       s == static_cast<int>(out.size()) && e == s
                                 : (r == 0 || r == key) && out == t && s == s0 && e == e0;
          if (!ok || services.Beeps.size() - beeps != (r == 0 ? 1u : 0u)) {
            ADD_FAILURE() << '"' << t << "\" sel " << s0 << ".." << e0 << " key " << int(key)
                          << " -> " << int(r) << " \"" << out << '"';
            return;
          }
        }
      }
    }
  }
}

}  // namespace
