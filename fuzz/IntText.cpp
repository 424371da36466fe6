// Integer texts: StrToInt and StrToInt64 agree with a reference reading
// (std::from_chars) on which texts fit, on the value, and print back.
#include <charconv>
#include <climits>
#include <cstdint>

#include "framework/rtl/DateUtils.h"
#include "fuzz/FuzzSupport.h"

namespace {

// Blanks, a sign, decimal digits or "$"/"0x" and hexadecimal digits, nothing
// after; false outside 64 bits.
bool ReferenceRead(const AnsiString& Text, __int128& Value) {
  size_t i = Text.find_first_not_of(' ');
  if (i == AnsiString::npos) return false;
  bool negative = false;
  if (Text[i] == '+' || Text[i] == '-') negative = Text[i++] == '-';
  int base = 10;
  if (Text.compare(i, 1, "$") == 0) {
    base = 16;
    i += 1;
  } else if (Text.compare(i, 2, "0x") == 0 || Text.compare(i, 2, "0X") == 0) {
    base = 16;
    i += 2;
  }
  if (i >= Text.size()) return false;
  const char* first = Text.data() + i;
  const char* last = Text.data() + Text.size();
  if (*first == '+' || *first == '-') return false;  // from_chars would not take "+", but "-"
  uint64_t magnitude;
  const auto [end, error] = std::from_chars(first, last, magnitude, base);
  if (error != std::errc() || end != last) return false;
  Value = negative ? -static_cast<__int128>(magnitude) : static_cast<__int128>(magnitude);
  return Value >= INT64_MIN && Value <= INT64_MAX;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const AnsiString text(reinterpret_cast<const char*>(Data), Size);
  __int128 expected = 0;
  const bool fits64 = ReferenceRead(text, expected);
  const bool fits32 = fits64 && expected >= INT_MIN && expected <= INT_MAX;
  int64_t v64 = 0;
  int v32 = 0;
  FUZZ_CHECK(TryStrToInt64(text, v64) == fits64, "text " + text);
  FUZZ_CHECK(TryStrToInt(text, v32) == fits32, "text " + text);
  if (fits64) {
    FUZZ_CHECK(v64 == expected, "text " + text);
    int64_t back;
    FUZZ_CHECK(TryStrToInt64(IntToStr(v64), back) && back == v64, "text " + text);
  }
  if (fits32) FUZZ_CHECK(v32 == expected, "text " + text);
  return 0;
}
