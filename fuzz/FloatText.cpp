// Text to extended and back: StrToFloat never yields what it cannot read
// back, the general form of 18 digits reads back within half a unit of its
// last digit, and the currency text is the value rounded to two decimals.
#include "framework/rtl/FloatText.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#include "fuzz/FuzzSupport.h"

namespace {

// Any finite extended value from the input's bytes: sign, 15-bit exponent
// and significand, the integer bit set for normal numbers.
long double ExtendedFrom(FuzzedDataProvider& In) {
  const uint64_t significand = In.ConsumeIntegral<uint64_t>();
  const uint16_t exponent = In.ConsumeIntegralInRange<uint16_t>(0, 0x7ffe);
  const bool negative = In.ConsumeBool();
  unsigned char bytes[16] = {};
  const uint64_t bits =
      exponent == 0 ? significand & ~(uint64_t{1} << 63) : significand | (uint64_t{1} << 63);
  std::memcpy(bytes, &bits, 8);
  const uint16_t top = static_cast<uint16_t>(exponent | (negative ? 0x8000 : 0));
  std::memcpy(bytes + 8, &top, 2);
  long double v;
  std::memcpy(&v, bytes, sizeof v);
  return v;
}

std::string Show(long double V) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.21Lg", V);
  return buf;
}

void CheckShownForms(long double V, const TFormatSettings& s) {
  const AnsiString general = FloatToStrF(V, ffGeneral, 18, 0, s);
  const AnsiString currency = FloatToStrF(V, ffCurrency, 18, 2, s);
  // Eighteen digits of the very largest values round past the largest
  // extended value and cannot be read back; the shown text promises no more.
  if (std::fabs(V) > 1.1897314953572317e4932L) return;
  long double back;
  FUZZ_CHECK(TryStrToFloat(general, back, s), Show(V) + " shown " + general);
  FUZZ_CHECK(std::fabs(back - V) <= 5.1e-18L * std::fabs(V) + LDBL_TRUE_MIN,
             Show(V) + " shown " + general + " read " + Show(back));
  bool negative;
  FUZZ_CHECK(ReadCurrencyText(currency, s, back, negative), Show(V) + " shown " + currency);
  if (negative) back = -back;
  FUZZ_CHECK(std::fabs(back - V) <= 0.0050000001L + 5.1e-18L * std::fabs(V),
             Show(V) + " shown " + currency);
  // A value that rounds to zero is never shown negative.
  FUZZ_CHECK(back != 0 || !negative, Show(V) + " shown " + currency);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzedDataProvider in(Data, Size);
  const TFormatSettings s = FuzzSettings(in);
  if (in.ConsumeBool()) {
    CheckShownForms(ExtendedFrom(in), s);
    return 0;
  }
  const AnsiString text = in.ConsumeRemainingBytesAsString();
  long double v;
  if (!TryStrToFloat(text, v, s)) return 0;
  FUZZ_CHECK(std::isfinite(v), "read " + text);
  CheckShownForms(v, s);
  return 0;
}
