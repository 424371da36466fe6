// The text filters: each keeps the length, changes only the case of ASCII
// letters, and a second pass changes nothing.
#include "controls/Strcaps.h"
#include "fuzz/FuzzSupport.h"

namespace {

bool SameLetterOtherCase(char A, char B) {
  return A != B && UpCaseAscii(A) == UpCaseAscii(B) && UpCaseAscii(A) >= 'A' &&
         UpCaseAscii(A) <= 'Z';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const auto filter = static_cast<CharFilterType>(Data[0] % (chEMail + 1));
  const AnsiString text(reinterpret_cast<const char*>(Data + 1), Size - 1);
  TStringCaps caps;
  const AnsiString once = caps.Filter(text, filter);
  FUZZ_CHECK(once.size() == text.size(), text);
  for (size_t i = 0; i < text.size(); ++i)
    FUZZ_CHECK(once[i] == text[i] || SameLetterOtherCase(once[i], text[i]), text + " -> " + once);
  const AnsiString twice = caps.Filter(once, filter);
  FUZZ_CHECK(twice == once, text + " -> " + once + " -> " + twice);
  return 0;
}
