// Dates and times as text: every text StrToDateTime reads prints as a text
// that reads back to the same date and second, and every value prints or is
// a conversion error exactly when it lies outside the calendar.
#include <cmath>
#include <cstring>
#include <string>

#include "framework/rtl/DateUtils.h"
#include "framework/rtl/Exceptions.h"
#include "fuzz/FuzzSupport.h"

namespace {

struct TDateParts {
  int Year, Month, Day, Hour, Min, Sec;
  bool operator==(const TDateParts&) const = default;
};

// The date and the time to the second, as DateTimeToStr shows them.
TDateParts Parts(TDateTime V) {
  TDateParts p;
  int ms;
  DecodeDate(V, p.Year, p.Month, p.Day);
  DecodeTime(V, p.Hour, p.Min, p.Sec, ms);
  return p;
}

// Any double, NaN and infinities included, or one near the calendar.
double DoubleFrom(FuzzedDataProvider& In) {
  if (In.ConsumeBool()) return In.ConsumeFloatingPointInRange(-700000.0, 3000000.0);
  return RawDouble(In);
}

// Prints V and reads it back: same date, same second.
void CheckPrintsBack(TDateTime V, const TFormatSettings& s) {
  const AnsiString text = DateTimeToStr(V, s);
  TDateTime back;
  FUZZ_CHECK(TryStrToDateTime(text, back, s), Show(V) + " printed " + text);
  FUZZ_CHECK(Parts(back) == Parts(V), Show(V) + " printed " + text + " read " + Show(back));
  FUZZ_CHECK(DateTimeToStr(back, s) == text, Show(V) + " printed " + text);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Two-field texts take this year: a fixed clock keeps every run repeatable.
  SetNowFunction([] { return EncodeDate(2026, 12, 8) + 0.5; });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  FuzzedDataProvider in(Data, Size);
  const TFormatSettings s = FuzzSettings(in);
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0: {  // a text
      const AnsiString text = in.ConsumeRemainingBytesAsString();
      TDateTime v;
      if (TryStrToDateTime(text, v, s)) CheckPrintsBack(v, s);
      return 0;
    }
    case 1: {  // a value
      const double v = DoubleFrom(in);
      const bool inCalendar = v > -693594.0 && v < 2958466.0;
      try {
        CheckPrintsBack(v, s);
        FUZZ_CHECK(inCalendar, Show(v) + " printed");
      } catch (const EConvertError&) {
        FUZZ_CHECK(!inCalendar, Show(v) + " refused");
      }
      return 0;
    }
    default: {  // a text read under any clock, the calendar's edges and NaN included
      const double now = DoubleFrom(in);
      SetNowFunction([now] { return now; });
      TDateTime v;
      TryStrToDateTime(in.ConsumeRemainingBytesAsString(), v, s);
      SetNowFunction([] { return EncodeDate(2026, 12, 8) + 0.5; });
      return 0;
    }
  }
}
