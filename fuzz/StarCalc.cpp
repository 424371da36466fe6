// The calculation on any eight texts: incomplete input exactly when a text is
// empty, otherwise two result texts or one of the documented errors (the
// conversion error naming the first unreadable text in conversion order), and
// an error leaves nothing behind for the next run.
#include "app/StarCalc.h"

#include <array>
#include <cmath>

#include "framework/rtl/Exceptions.h"
#include "fuzz/FuzzSupport.h"

namespace {

constexpr StarField kConversionOrder[8] = {I1S1X, I1S2X, I2S1X, I2S2X, I1S1Y, I1S2Y, I2S1Y, I2S2Y};

std::string Describe(const std::array<AnsiString, 8>& Texts) {
  std::string out;
  for (const AnsiString& t : Texts) out += "[" + t + "]";
  return out;
}

// The next run with ordinary texts is unaffected by what went before.
void CheckCleanRun(const TFormatSettings& s) {
  std::array<AnsiString, 8> worked = {"100", "200", "300", "250", "120", "180", "250", "330"};
  const auto r = CalcScaleRotation(worked, s);
  long double resize = 0, rotate = 0;
  bool resizeNegative = true, rotateNegative = false;
  if (r) {
    ReadCurrencyText(r->Resize, s, resize, resizeNegative);
    ReadCurrencyText(r->Rotate, s, rotate, rotateNegative);
  }
  FUZZ_CHECK(!resizeNegative && std::fabs(resize - 103.86L) < 1e-9L && rotateNegative &&
                 std::fabs(rotate - 35.05L) < 1e-9L,
             "after an error: " + (r ? r->Resize + " " + r->Rotate : AnsiString("nothing")));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzedDataProvider in(Data, Size);
  const TFormatSettings s = FuzzSettings(in);
  const AnsiString rest = in.ConsumeRemainingBytesAsString();
  std::array<AnsiString, 8> texts;
  size_t start = 0;
  for (int f = 0; f < 8 && start <= rest.size(); ++f) {
    const size_t end = std::min(rest.find('\n', start), rest.size());
    texts[f] = rest.substr(start, end - start);
    start = end + 1;
  }
  bool anyEmpty = false;
  for (const AnsiString& t : texts) anyEmpty = anyEmpty || t.empty();

  try {
    const auto r = CalcScaleRotation(texts, s);
    FUZZ_CHECK(r.has_value() != anyEmpty, Describe(texts));
    if (!r) return 0;
    long double resize, rotate;
    bool resizeNegative, rotateNegative;
    FUZZ_CHECK(ReadCurrencyText(r->Resize, s, resize, resizeNegative) && !resizeNegative,
               Describe(texts) + " -> " + r->Resize);
    FUZZ_CHECK(ReadCurrencyText(r->Rotate, s, rotate, rotateNegative) && rotate <= 360,
               Describe(texts) + " -> " + r->Rotate);
  } catch (const EConvertError& e) {
    FUZZ_CHECK(!anyEmpty, Describe(texts));
    AnsiString first;
    long double v;
    for (StarField f : kConversionOrder) {
      if (!TryStrToFloat(texts[f], v, s)) {
        first = texts[f];
        break;
      }
    }
    FUZZ_CHECK(e.Message == "'" + first + "' is not a valid floating point value",
               Describe(texts) + ": " + e.Message);
    CheckCleanRun(s);
  } catch (const EMathError& e) {
    FUZZ_CHECK(!anyEmpty, Describe(texts));
    FUZZ_CHECK(e.Message == "Floating point division by zero" ||
                   e.Message == "Invalid floating point operation" ||
                   e.Message == "Floating point overflow",
               Describe(texts) + ": " + e.Message);
    CheckCleanRun(s);
  }
  return 0;
}
