#include "controls/Strcaps.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "framework/forms/UserServices.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/FormatSettings.h"

namespace {

// Longest entry of CongWords: longer words are rejected without a look-up.
constexpr size_t kLongestCongWord = 5;

struct TCongGroup {
  unsigned char First = 0;
  unsigned char End = 0;  // one past the group's last index in CongWords
};

// Where each first letter's group starts and ends in CongWords.
constexpr std::array<TCongGroup, 26> MakeCongGroups() {
  std::array<TCongGroup, 26> g{};
  for (size_t i = CongWords.size(); i-- > 0;) {
    auto& group = g[static_cast<size_t>(CongWords[i][0] - 'a')];
    if (group.End == 0) group.End = static_cast<unsigned char>(i + 1);
    group.First = static_cast<unsigned char>(i);
  }
  return g;
}
constexpr auto kCongGroups = MakeCongGroups();

unsigned char Code(char C) { return static_cast<unsigned char>(C); }

// The code page's classification, looked up once per byte value: the filters
// run over whole texts after every key release.
struct TCaseTables {
  // Next[1][c] is c after a letter (a capital lowered), Next[0][c] after
  // anything else (a small letter raised).
  char Next[2][256];
  bool Letter[256];
  // Letters and full stops: "S.della" is one word and no particle.
  bool WordChar[256];
  // Capitals whose repetition opening a word stays capital: not A, E and U,
  // which double at the start of names (Aaron, Eeva, Uuno).
  bool KeepsRun[256];
};

const TCaseTables& CaseTables() {
  static const TCaseTables tables = [] {
    TCaseTables t{};
    for (int b = 0; b < 256; ++b) {
      const char c = static_cast<char>(b);
      t.Letter[b] = IsCharAlphaA(c);
      t.WordChar[b] = c == '.' || t.Letter[b];
      t.Next[1][b] = IsCharUpperA(c) ? LowCaseAscii(c) : c;
      t.Next[0][b] = IsCharLowerA(c) ? UpCaseAscii(c) : c;
      t.KeepsRun[b] = c >= 'A' && c <= 'Z' && c != 'A' && c != 'E' && c != 'U';
    }
    return t;
  }();
  return tables;
}

char Refuse() {
  MessageBeep(MB_SIMPLEBEEP);
  return 0;
}

// Digits of the run that touches position S: those ending just before it and
// those starting at it.
int DigitRunAround(const char* Text, int Length, int S) {
  int run = 0;
  for (int i = S - 1; i >= 0 && IsDigitChar(Text[i]); --i) ++run;
  for (int i = S; i < Length && IsDigitChar(Text[i]); ++i) ++run;
  return run;
}

int DigitRunFrom(const char* Text, int Length, int Start) {
  int run = 0;
  for (int i = Start; i < Length && IsDigitChar(Text[i]); ++i) ++run;
  return run;
}

// The century digits of DateAge into Out; returns how many. Never more than
// two, the room the caller's buffer keeps for them.
int CenturyDigits(DateAgeType DateAge, char Out[2]) {
  switch (DateAge) {
    case dtCurrent: {
      int year = 0, month = 0, day = 0;
      // A clock beyond the calendar (past year 9999, or no number) has no
      // century: write none.
      if (!TryDecodeDate(Date(), year, month, day)) return 0;
      const int century = year / 100;
      if (century < 10) {
        Out[0] = static_cast<char>('0' + century);
        return 1;
      }
      Out[0] = static_cast<char>('0' + century / 10);
      Out[1] = static_cast<char>('0' + century % 10);
      return 2;
    }
    case dt1900:
      Out[0] = '1';
      Out[1] = '9';
      return 2;
    case dt2000:
      Out[0] = '2';
      Out[1] = '0';
      return 2;
    default:
      return 0;
  }
}

}  // namespace

std::span<const std::string_view> CongWordsStartingWith(char First) {
  const char first = LowCaseAscii(First);
  if (first < 'a' || first > 'z') return {};
  const TCongGroup group = kCongGroups[static_cast<size_t>(first - 'a')];
  return std::span<const std::string_view>(CongWords).subspan(group.First, group.End - group.First);
}

bool IsCongWord(std::string_view Word) {
  if (Word.empty() || Word.size() > kLongestCongWord) return false;
  for (const std::string_view listed : CongWordsStartingWith(Word[0])) {
    if (listed.size() == Word.size() &&
        std::equal(Word.begin(), Word.end(), listed.begin(),
                   [](char a, char b) { return LowCaseAscii(a) == b; })) {
      return true;
    }
  }
  return false;
}

AnsiString TStringCaps::Filter(const AnsiString& Text, CharFilterType Filter) {
  switch (Filter) {
    case chFirstCap:
      return FirstCapFilter(Text);
    case chFirstCapCong:
      return FirstCapCongFilter(Text);
    case chOneCap:
      return OneCapFilter(Text);
    case chAllCaps:
      return AllCapsFilter(Text);
    default:
      return Text;
  }
}

AnsiString TStringCaps::FirstCapFilter(const AnsiString& Text) {
  AnsiString r = Text;
  if (r.empty()) return r;
  const TCaseTables& t = CaseTables();
  char p = r[0] = t.Next[0][Code(Text[0])];
  // Case changes keep a letter a letter, so whether p is one is read from the
  // input: the loop then carries no dependency on its own output.
  bool afterLetter = t.Letter[Code(Text[0])];
  for (size_t i = 1; i < r.size(); ++i) {
    char c = t.Next[afterLetter][Code(Text[i])];
    // A run of one letter opening a word stays in capitals (SS, III).
    if (t.KeepsRun[Code(p)] && UpCaseAscii(c) == p) c = p;
    r[i] = p = c;
    afterLetter = t.Letter[Code(Text[i])];
  }
  return r;
}

AnsiString TStringCaps::FirstCapCongFilter(const AnsiString& Text) {
  AnsiString r = FirstCapFilter(Text);
  const TCaseTables& t = CaseTables();
  const size_t n = r.size();
  size_t i = 0;
  while (i < n) {
    if (!t.WordChar[Code(r[i])]) {
      ++i;
      continue;
    }
    size_t end = i + 1;
    while (end < n && t.WordChar[Code(r[end])]) ++end;
    // The text's first word keeps its capital even when it is a particle.
    if (i > 0 && IsCongWord(std::string_view(r).substr(i, end - i))) {
      std::transform(r.begin() + i, r.begin() + end, r.begin() + i, LowCaseAscii);
    }
    i = end;
  }
  return r;
}

AnsiString TStringCaps::OneCapFilter(const AnsiString& Text) {
  AnsiString r = Text;
  if (!r.empty()) r[0] = UpCaseAscii(r[0]);
  return r;
}

AnsiString TStringCaps::AllCapsFilter(const AnsiString& Text) { return UpperCaseAscii(Text); }

char TStringCaps::CharDateProcess(char Key, char* Text, int& SelStart, int& SelEnd,
                                  DateAgeType DateAge) {
  const char d = FormatSettings.DateSeparator;
  const bool digit = IsDigitChar(Key);
  if (!digit && Key != d && Key != 8 && Key != 27 && Key != 9 && Key != 13) return Refuse();

  // Lengths stay ints, with room left for a completion.
  int n = static_cast<int>(std::min<size_t>(std::strlen(Text), INT_MAX - 4));
  // A caller's selection may lie outside the text or run backwards; nothing
  // may be read outside the text.
  int s = std::clamp(SelStart, 0, n);
  int e = std::clamp(SelEnd, 0, n);
  if (e < s) std::swap(s, e);

  // Typing over the whole text starts a new date. The buffer is only written
  // when a completion is returned, so a refusal leaves the text as it was.
  if (s == 0 && e > 0 && e == n) n = e = 0;

  int separators = 0;
  int p2 = 11;  // beyond a complete date when there is no second separator
  for (int i = 0; i < n; ++i) {
    if (Text[i] == d && ++separators == 2) p2 = i;
  }

  if (Key == d && (separators >= 2 || s == 0 || Text[s - 1] == d)) return Refuse();

  if (digit) {
    // Day and month at most two digits, the year at most four.
    if (s >= 1 && s <= p2 && DigitRunAround(Text, n, s) >= 2) return Refuse();
    if (s > p2 && DigitRunFrom(Text, n, p2 + 1) >= 4) return Refuse();
    // Day at most 31, typed after its first digit or in front of it.
    if (s == 1 && (Code(Text[0]) > '3' || (Text[0] == '3' && Key > '1'))) return Refuse();
    if (s == 0 && e != n && IsDigitChar(Text[0]) && (Key > '3' || (Key == '3' && Text[0] > '1'))) {
      return Refuse();
    }
    // Month at most 12, typed after its first digit or in front of it.
    if (std::count(Text, Text + s, d) == 1) {
      const char before = Text[s - 1];
      if (IsDigitChar(before) && (before > '1' || (before == '1' && Key > '2'))) return Refuse();
      if (s < n && IsDigitChar(Text[s]) && (Key > '1' || (Key == '1' && Text[s] > '2'))) {
        return Refuse();
      }
    }
  }

  // Completion only while typing at the end of the text.
  if (e != n) return Key;

  char tail[4];
  int added = 0;
  char century[2];
  if (Key == d && separators == 1) {
    tail[added++] = d;
    const int c = CenturyDigits(DateAge, century);
    for (int k = 0; k < c; ++k) tail[added++] = century[k];
  } else if (digit && separators == 0 && (s == 1 || Key > '3')) {
    tail[added++] = Key;
    tail[added++] = d;
  } else if (digit && separators == 1 && ((s >= 1 && IsDigitChar(Text[s - 1])) || Key > '1')) {
    tail[added++] = Key;
    tail[added++] = d;
    const int c = CenturyDigits(DateAge, century);
    for (int k = 0; k < c; ++k) tail[added++] = century[k];
  } else {
    return Key;
  }

  std::memcpy(Text + n, tail, static_cast<size_t>(added));
  n += added;
  Text[n] = '\0';
  SelStart = SelEnd = n;
  return 1;
}

bool NumberFilterAdmits(char Key, CharFilterType Filter, char DecimalSeparator) {
  if (Filter != chNumber && Filter != chDecimal) return true;
  if (IsDigitChar(Key) || Key == 8 || Key == 27 || Key == 9 || Key == 13) return true;
  return Filter == chDecimal && Key == DecimalSeparator;
}

char DateKeyProcess(TStringCaps& Caps, char Key, const AnsiString& Text, int SelStart, int SelEnd,
                    DateAgeType DateAge, AnsiString& NewText, int& NewSelStart, int& NewSelEnd) {
  // Sized from the text, not from the length of a date: typing in front of a
  // complete date or pasting makes the text longer.
  std::vector<char> buffer(Text.size() + 5, '\0');
  std::copy(Text.begin(), Text.end(), buffer.begin());
  int s = SelStart, e = SelEnd;
  const char result = Caps.CharDateProcess(Key, buffer.data(), s, e, DateAge);
  if (result == 1) {
    NewText.assign(buffer.data());
    NewSelStart = s;
    NewSelEnd = e;
  }
  return result;
}
