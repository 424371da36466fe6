#include "spreadsheet/RangeAddress.h"

#include <algorithm>

#include "framework/ole/Dispatch.h"
#include "framework/rtl/Exceptions.h"

namespace {

struct TRef {
  int Col = -1;  // -1: no column part
  int Row = -1;  // -1: no row part
};

// One corner: [$]letters[$digits] or [$]letters alone; P advances past it.
bool ParseRef(const WideString& S, size_t& P, TRef& Ref) {
  if (P < S.size() && S[P] == u'$') ++P;
  long col = 0;
  size_t letters = 0;
  for (; P < S.size(); ++P, ++letters) {
    char16_t c = S[P];
    if (c >= u'a' && c <= u'z') c -= 32;
    if (c < u'A' || c > u'Z') break;
    col = col * 26 + (c - u'A' + 1);
    if (col > kSheetColumns) return false;
  }
  if (letters == 0) return false;
  Ref.Col = static_cast<int>(col - 1);
  if (P < S.size() && S[P] == u'$') ++P;
  long row = 0;
  size_t digits = 0;
  for (; P < S.size() && S[P] >= u'0' && S[P] <= u'9'; ++P, ++digits) {
    row = row * 10 + (S[P] - u'0');
    if (row > kSheetRows) return false;
  }
  if (digits > 0) {
    if (row == 0) return false;
    Ref.Row = static_cast<int>(row - 1);
  } else if (P > 0 && S[P - 1] == u'$') {
    return false;  // "A$" names no row
  }
  return true;
}

}  // namespace

TRangeAddress ParseRangeAddress(const WideString& Text) {
  TRef a, b;
  size_t p = 0;
  bool ok = ParseRef(Text, p, a);
  if (ok && p < Text.size() && Text[p] == u':') {
    ++p;
    ok = ParseRef(Text, p, b);
  } else {
    ok = ok && a.Row >= 0;  // a single reference names a cell, "A" alone is nothing
    b = a;
  }
  // Both corners name a cell, or both name a whole column.
  ok = ok && p == Text.size() && (a.Row < 0) == (b.Row < 0);
  if (!ok) {
    throw EOleSysError("Not a valid range address: \"" + WideToAnsi(Text) + "\"", DISP_E_EXCEPTION);
  }
  TRangeAddress r;
  r.FirstCol = std::min(a.Col, b.Col);
  r.LastCol = std::max(a.Col, b.Col);
  r.WholeColumns = a.Row < 0;
  r.FirstRow = r.WholeColumns ? 0 : std::min(a.Row, b.Row);
  r.LastRow = r.WholeColumns ? kSheetRows - 1 : std::max(a.Row, b.Row);
  return r;
}
