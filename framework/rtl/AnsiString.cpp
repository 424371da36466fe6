#include "framework/rtl/AnsiString.h"

#include <algorithm>

int Pos(const AnsiString& Sub, const AnsiString& S) {
  if (Sub.empty()) return 0;
  const auto found = S.find(Sub);
  return found == AnsiString::npos ? 0 : static_cast<int>(found) + 1;
}

AnsiString SubString(const AnsiString& S, int Index, int Count) {
  if (Index < 1) {
    Count += Index - 1;
    Index = 1;
  }
  if (Count <= 0 || static_cast<size_t>(Index) > S.size()) return AnsiString();
  return S.substr(static_cast<size_t>(Index) - 1, static_cast<size_t>(Count));
}

char UpCaseAscii(char C) { return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C; }

char LowCaseAscii(char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C; }

AnsiString UpperCaseAscii(AnsiString S) {
  std::transform(S.begin(), S.end(), S.begin(), UpCaseAscii);
  return S;
}

AnsiString LowerCaseAscii(AnsiString S) {
  std::transform(S.begin(), S.end(), S.begin(), LowCaseAscii);
  return S;
}
