// The date-typing step on a buffer exactly as large as promised (the text,
// four more characters and the terminator): nothing is written past it, a
// refusal or a key let through leaves text and selection alone, and a
// completion only appends digits and separators and puts the caret at the end.
#include <cmath>
#include <cstring>
#include <memory>

#include "controls/Strcaps.h"
#include "framework/rtl/DateUtils.h"
#include "fuzz/FuzzSupport.h"

namespace {

bool Admissible(char Key, char Separator) {
  return IsDigitChar(Key) || Key == Separator || Key == 8 || Key == 27 || Key == 9 || Key == 13;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzedDataProvider in(Data, Size);
  static constexpr char kSeparator[] = {'/', '.', '-'};
  FormatSettings.DateSeparator = in.PickValueInArray(kSeparator);
  const char d = FormatSettings.DateSeparator;
  const char key = in.ConsumeIntegral<char>();
  const auto age = static_cast<DateAgeType>(in.ConsumeIntegralInRange(0, 3));
  // Mostly within the text, sometimes anywhere an int reaches.
  int selStart = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(0, 16);
  int selEnd = in.ConsumeBool() ? in.ConsumeIntegral<int>() : in.ConsumeIntegralInRange(0, 16);
  if (in.ConsumeBool()) {
    const double now = in.ConsumeBool() ? NAN : in.ConsumeFloatingPoint<double>();
    SetNowFunction([now] { return now; });
  } else {
    SetNowFunction([] { return EncodeDate(2026, 12, 8); });
  }
  AnsiString text = in.ConsumeRemainingBytesAsString();
  text = text.substr(0, text.find('\0'));

  const size_t n = text.size();
  std::unique_ptr<char[]> buffer(new char[n + 5]);
  std::memcpy(buffer.get(), text.c_str(), n + 1);
  const int oldStart = selStart, oldEnd = selEnd;
  TStringCaps caps;
  const char result = caps.CharDateProcess(key, buffer.get(), selStart, selEnd, age);
  const AnsiString after(buffer.get());

  if (result != 1) {
    FUZZ_CHECK(result == 0 || result == key, "result " + std::to_string(result));
    FUZZ_CHECK(after == text && selStart == oldStart && selEnd == oldEnd, text);
    if (!Admissible(key, d)) FUZZ_CHECK(result == 0, text + " took key " + std::to_string(key));
    return 0;
  }
  FUZZ_CHECK(Admissible(key, d) && key != 8 && key != 27 && key != 9 && key != 13, text);
  FUZZ_CHECK(after.size() <= n + 4, text + " -> " + after);
  FUZZ_CHECK(selStart == static_cast<int>(after.size()) && selEnd == selStart,
             text + " -> " + after);
  // Appended to the text, or to nothing when the whole text was selected.
  const bool appended = after.compare(0, n, text) == 0;
  FUZZ_CHECK(appended || after.size() <= 4, text + " -> " + after);
  for (size_t i = appended ? n : 0; i < after.size(); ++i)
    FUZZ_CHECK(IsDigitChar(after[i]) || after[i] == d, text + " -> " + after);
  return 0;
}
