// Variant conversions: a double's text reads back to nearly the same double,
// integer texts convert over the whole 64-bit range, a date outside the
// calendar is a conversion error, and the range check survives any bound.
#include "framework/rtl/Variant.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#include "controls/ValueChecks.h"
#include "framework/rtl/Exceptions.h"
#include "fuzz/FuzzSupport.h"

namespace {

void CheckDouble(double D) {
  if (!std::isfinite(D)) return;
  const AnsiString text = Variant(D).AsString();
  double back = 0;
  try {
    back = Variant(text).AsDouble();
  } catch (const EVariantError&) {
    FUZZ_CHECK(false, Show(D) + " printed " + text);
  }
  // Fifteen digits: within half a unit of the fifteenth.
  FUZZ_CHECK(std::fabs(back - D) <= 5.1e-15 * std::fabs(D) + DBL_TRUE_MIN,
             Show(D) + " printed " + text + " read " + Show(back));
  try {
    const int64_t i = Variant(D).AsInt64();
    FUZZ_CHECK(std::fabs(static_cast<long double>(i) - D) <= 0.5L, Show(D));
  } catch (const EVariantError&) {
    FUZZ_CHECK(D >= 0x1p63 || D < -0x1p63, Show(D) + " refused as an integer");
  }
}

void CheckText(const AnsiString& Text) {
  const Variant v(Text);
  int64_t i;
  if (TryStrToInt64(Text, i)) FUZZ_CHECK(v.AsInt64() == i, "text " + Text);
  // Any other failure is a variant error; anything else escaping ends the run.
  try {
    v.AsInt64();
  } catch (const EVariantError&) {
  }
  try {
    v.AsDate();
  } catch (const EVariantError&) {
  }
}

void CheckDate(double D, const AnsiString& Text, const TFormatSettings& s) {
  const bool inCalendar = D > -693594.0 && D < 2958466.0;
  const Variant date = Variant::FromDate(D);
  try {
    date.AsString();
    FUZZ_CHECK(inCalendar, Show(D) + " printed");
  } catch (const EConvertError&) {
    FUZZ_CHECK(!inCalendar, Show(D) + " refused");
  }
  const bool valid = ValueInBounds(Text, chDate, date, Variant(), s);
  // A bound that is no number lets nothing through.
  FUZZ_CHECK(!std::isnan(D) || !valid, Show(D) + " as the lower bound of " + Text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzedDataProvider in(Data, Size);
  FormatSettings = FuzzSettings(in);
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
      CheckDouble(in.ConsumeBool() ? RawDouble(in) : in.ConsumeFloatingPoint<double>());
      return 0;
    case 1:
      CheckText(in.ConsumeRemainingBytesAsString());
      return 0;
    default: {
      const double d =
          in.ConsumeBool() ? RawDouble(in) : in.ConsumeFloatingPointInRange(-700000.0, 3000000.0);
      CheckDate(d, in.ConsumeRemainingBytesAsString(), FormatSettings);
      return 0;
    }
  }
}
