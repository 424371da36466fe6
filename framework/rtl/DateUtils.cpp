#include "framework/rtl/DateUtils.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>

#include "framework/rtl/Exceptions.h"

namespace {

std::function<TDateTime()>& NowFunction() {
  static std::function<TDateTime()> fn;
  return fn;
}

constexpr int kDaysBefore[2][13] = {{0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
                                    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366}};

// Days from 1 January of year 1 to the given date, counting it.
long long DaysFromCivil(int y, int m, int d) {
  const long long y1 = y - 1;
  return y1 * 365 + y1 / 4 - y1 / 100 + y1 / 400 + kDaysBefore[IsLeapYear(y)][m - 1] + d;
}

constexpr long long kDelta = 693594;  // days from 0001-01-01 to 1899-12-30

AnsiString Digits(int v, int Width) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%0*d", Width, v);
  return buf;
}

// Reads an unsigned number of at most MaxDigits digits at Text[i].
bool ScanNumber(const AnsiString& Text, size_t& i, int& Value, int& Digits, int MaxDigits = 4) {
  Value = 0;
  Digits = 0;
  while (i < Text.size() && IsDigitChar(Text[i])) {
    if (++Digits > MaxDigits) return false;
    Value = Value * 10 + (Text[i] - '0');
    ++i;
  }
  return Digits > 0;
}

void SkipBlanks(const AnsiString& Text, size_t& i) {
  while (i < Text.size() && Text[i] == ' ') ++i;
}

// The order of day, month and year in a short date format: "DMY", "MDY" or "YMD".
AnsiString DateOrder(const AnsiString& Format) {
  AnsiString order;
  for (char c : Format) {
    const char u = UpCaseAscii(c);
    if ((u == 'D' || u == 'M' || u == 'Y') && order.find(u) == AnsiString::npos) order += u;
  }
  return order.size() == 3 ? order : AnsiString("MDY");
}

}  // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Value) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1) return false;
  const int leap = IsLeapYear(Year);
  if (Day > kDaysBefore[leap][Month] - kDaysBefore[leap][Month - 1]) return false;
  Value = static_cast<TDateTime>(DaysFromCivil(Year, Month, Day) - kDelta);
  return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
  TDateTime v;
  if (!TryEncodeDate(Year, Month, Day, v)) throw EConvertError("Invalid argument to date encode");
  return v;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
  if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 || MSec > 999)
    throw EConvertError("Invalid argument to time encode");
  return (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / 86400000.0;
}

bool TryDecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
  // Checked before the conversion to an integer, which NaN, infinities and
  // huge values would not survive.
  if (!(Value > -693594.0 && Value < 2958466.0)) return false;
  long long z = static_cast<long long>(std::trunc(Value)) + kDelta - 1;  // 0 = 0001-01-01
  // Civil-from-days on the proleptic Gregorian calendar.
  const long long n400 = z / 146097;
  z %= 146097;
  long long n100 = z / 36524;
  if (n100 == 4) n100 = 3;
  z -= n100 * 36524;
  const long long n4 = z / 1461;
  z %= 1461;
  long long n1 = z / 365;
  if (n1 == 4) n1 = 3;
  z -= n1 * 365;
  Year = static_cast<int>(n400 * 400 + n100 * 100 + n4 * 4 + n1 + 1);
  const int leap = IsLeapYear(Year);
  Month = 1;
  while (Month < 12 && z >= kDaysBefore[leap][Month]) ++Month;
  Day = static_cast<int>(z - kDaysBefore[leap][Month - 1] + 1);
  return true;
}

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
  if (!TryDecodeDate(Value, Year, Month, Day))
    throw EConvertError("Invalid argument to date decode");
}

void DecodeTime(TDateTime Value, int& Hour, int& Min, int& Sec, int& MSec) {
  if (!std::isfinite(Value)) throw EConvertError("Invalid argument to time decode");
  const double frac = std::fabs(Value - std::trunc(Value));
  long long ms = std::llround(frac * 86400000.0);
  if (ms >= 86400000) ms = 86399999;
  Hour = static_cast<int>(ms / 3600000);
  Min = static_cast<int>(ms / 60000 % 60);
  Sec = static_cast<int>(ms / 1000 % 60);
  MSec = static_cast<int>(ms % 1000);
}

TDateTime Now() {
  if (NowFunction()) return NowFunction()();
  const auto now = std::chrono::system_clock::now();
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms.count()));
}

TDateTime Date() { return std::floor(Now()); }

void SetNowFunction(std::function<TDateTime()> Fn) { NowFunction() = std::move(Fn); }

bool TryStrToDateTime(const AnsiString& Text, TDateTime& Value, const TFormatSettings& Settings) {
  size_t i = 0;
  SkipBlanks(Text, i);
  int fields[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int count = 0;
  while (count < 3) {
    if (!ScanNumber(Text, i, fields[count], digits[count])) return false;
    ++count;
    if (i < Text.size() && Text[i] == Settings.DateSeparator && count < 3) {
      ++i;
      continue;
    }
    break;
  }
  if (count < 2) return false;
  int curYear = 0, curMonth, curDay;
  // Only a text without a full year needs today; a clock beyond the
  // calendar then makes it unreadable.
  const bool today = TryDecodeDate(Date(), curYear, curMonth, curDay);
  const AnsiString order = DateOrder(Settings.ShortDateFormat);
  int y = curYear, m = 0, d = 0;
  bool yearTyped = false;
  if (count == 3) {
    for (int k = 0; k < 3; ++k) {
      if (order[k] == 'D') d = fields[k];
      if (order[k] == 'M') m = fields[k];
      if (order[k] == 'Y') y = fields[k], yearTyped = digits[k] <= 2;
    }
  } else {
    // Two fields: day and month in the format's order, this year.
    const bool monthFirst = order.find('M') < order.find('D');
    m = monthFirst ? fields[0] : fields[1];
    d = monthFirst ? fields[1] : fields[0];
  }
  if ((count < 3 || yearTyped) && !today) return false;
  if (yearTyped) {
    y += curYear / 100 * 100;
    if (y < curYear - 50) y += 100;
    if (y > curYear + 49) y -= 100;
  }
  TDateTime date;
  if (!TryEncodeDate(y, m, d, date)) return false;

  SkipBlanks(Text, i);
  double time = 0;
  if (i < Text.size()) {
    int h, n = 0, s = 0, z = 0, dg;
    if (!ScanNumber(Text, i, h, dg, 2)) return false;
    if (i >= Text.size() || Text[i] != ':') return false;
    ++i;
    if (!ScanNumber(Text, i, n, dg, 2)) return false;
    if (i < Text.size() && Text[i] == ':') {
      ++i;
      if (!ScanNumber(Text, i, s, dg, 2)) return false;
      if (i < Text.size() && Text[i] == '.') {
        ++i;
        if (!ScanNumber(Text, i, z, dg, 3)) return false;
      }
    }
    SkipBlanks(Text, i);
    if (i != Text.size() || h > 23 || n > 59 || s > 59) return false;
    time = EncodeTime(h, n, s, z);
  }
  // Before 30 December 1899 the time counts away from zero, as DecodeTime reads it.
  Value = date >= 0 ? date + time : date - time;
  return true;
}

TDateTime StrToDateTime(const AnsiString& Text, const TFormatSettings& Settings) {
  TDateTime v;
  if (!TryStrToDateTime(Text, v, Settings))
    throw EConvertError("'" + Text + "' is not a valid date and time");
  return v;
}

TDateTime StrToDateTime(const AnsiString& Text) { return StrToDateTime(Text, FormatSettings); }

AnsiString DateTimeToStr(TDateTime Value, const TFormatSettings& Settings) {
  int y, m, d;
  DecodeDate(Value, y, m, d);
  AnsiString out;
  const AnsiString& f = Settings.ShortDateFormat;
  for (size_t i = 0; i < f.size();) {
    const char u = UpCaseAscii(f[i]);
    size_t run = 1;
    while (i + run < f.size() && UpCaseAscii(f[i + run]) == u) ++run;
    if (u == 'D') {
      out += Digits(d, run >= 2 ? 2 : 1);
    } else if (u == 'M') {
      out += Digits(m, run >= 2 ? 2 : 1);
    } else if (u == 'Y') {
      // All four digits: a shorter year would read back as one of this century.
      out += run >= 3 ? Digits(y, 4) : Digits(y % 100, 2);
    } else if (f[i] == '/' || f[i] == '.' || f[i] == '-') {
      out += Settings.DateSeparator;  // the separator follows the settings
    } else {
      out.append(run, f[i]);
    }
    i += run;
  }
  int h, n, s, z;
  DecodeTime(Value, h, n, s, z);
  if (h != 0 || n != 0 || s != 0) {
    char time[16];
    std::snprintf(time, sizeof time, " %02d:%02d:%02d", h, n, s);
    out += time;
  }
  return out;
}

AnsiString DateTimeToStr(TDateTime Value) { return DateTimeToStr(Value, FormatSettings); }

namespace {

// Blanks, an optional sign, then decimal digits or "$"/"0x" and hexadecimal
// digits, nothing after; the magnitude may not pass Limit, or Limit + 1 for
// a negative number.
bool ScanInteger(const AnsiString& Text, uint64_t Limit, int64_t& Value) {
  size_t i = 0;
  SkipBlanks(Text, i);
  bool negative = false;
  if (i < Text.size() && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';
  unsigned base = 10;
  if (i < Text.size() && Text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < Text.size() && Text[i] == '0' && (Text[i + 1] == 'x' || Text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  const size_t start = i;
  const uint64_t most = Limit + (negative ? 1 : 0);
  uint64_t v = 0;
  for (; i < Text.size(); ++i) {
    const char c = Text[i];
    unsigned digit;
    if (IsDigitChar(c))
      digit = static_cast<unsigned>(c - '0');
    else if (base == 16 && UpCaseAscii(c) >= 'A' && UpCaseAscii(c) <= 'F')
      digit = static_cast<unsigned>(UpCaseAscii(c) - 'A' + 10);
    else
      return false;
    if (v > (most - digit) / base) return false;
    v = v * base + digit;
  }
  if (i == start) return false;
  // -(v - 1) - 1 stays in range for the most negative value.
  Value = negative && v > 0 ? -static_cast<int64_t>(v - 1) - 1 : static_cast<int64_t>(v);
  return true;
}

}  // namespace

bool TryStrToInt(const AnsiString& Text, int& Value) {
  int64_t v;
  if (!ScanInteger(Text, INT_MAX, v)) return false;
  Value = static_cast<int>(v);
  return true;
}

bool TryStrToInt64(const AnsiString& Text, int64_t& Value) {
  return ScanInteger(Text, INT64_MAX, Value);
}

int64_t StrToInt64(const AnsiString& Text) {
  int64_t v;
  if (!TryStrToInt64(Text, v)) throw EConvertError("'" + Text + "' is not a valid integer value");
  return v;
}

int StrToInt(const AnsiString& Text) {
  int v;
  if (!TryStrToInt(Text, v)) throw EConvertError("'" + Text + "' is not a valid integer value");
  return v;
}

AnsiString IntToStr(long long Value) { return std::to_string(Value); }
