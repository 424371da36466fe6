#pragma once
// TInputRules: the state and the rules every validated input control shares:
// the character filter, the century rule, the bounds and the filter object;
// the key step, the re-filtering of the whole text, the range check and when
// the exit check runs. A control derives from its widget and from this class;
// its own properties forward here, so the rules are written once.
#include "controls/Strcaps.h"
#include "framework/rtl/FormatSettings.h"
#include "framework/rtl/Variant.h"

class TInputRules {
 public:
  TInputRules();
  virtual ~TInputRules();
  TInputRules(const TInputRules&) = delete;
  TInputRules& operator=(const TInputRules&) = delete;

  CharFilterType CharFilter() const { return FCharFilter; }
  // What else a change of filter does differs by control.
  virtual void SetCharFilter(CharFilterType Value) = 0;
  DateAgeType DateAge() const { return FDateAge; }
  void SetDateAge(DateAgeType Value) { FDateAge = Value; }
  const Variant& MinValue() const { return FMinValue; }
  void SetMinValue(const Variant& Value) { FMinValue = Value; }
  const Variant& MaxValue() const { return FMaxValue; }
  void SetMaxValue(const Variant& Value) { FMaxValue = Value; }

 protected:
  // The common part of a filter change: another filter clears both bounds,
  // and DateAge becomes dtNone unless the new filter is chDate. False when
  // Value is the current filter, which changes nothing.
  bool ChangeCharFilter(CharFilterType Value);

  // The range check of a non-empty text under chDate, chNumber and chDecimal;
  // every text passes under the other filters.
  bool ValueInRange(const AnsiString& Text) const;

  // Whether the filter rewrites the whole text (capitals).
  bool RecasingFilter() const { return FCharFilter >= chFirstCap && FCharFilter <= chAllCaps; }

  // A typed key: the number filters drop what they do not admit; the date
  // filter checks the key and may complete the date, in which case the text
  // is replaced, the caret put at its end and the key dropped. A read-only
  // control is left alone: keys never change it. Returns whether the text
  // was written.
  template <class Control>
  bool FilterTypedKey(Control& C, char& Key);

  // The whole text again through the text filter, keeping the selection.
  // Returns whether the text was written: an unchanged result writes nothing,
  // and a read-only control is not rewritten.
  template <class Control>
  bool RefilterText(Control& C);

  // Whether the control checks its value on this exit: not when it is
  // read-only (the user could neither correct the text nor leave), nor when
  // it only received the focus in passing while another control's failed
  // check is bringing the focus back.
  template <class Control>
  static bool ChecksOnExit(Control& C) {
    return !C.ReadOnly() && !C.FocusInPassing();
  }

  // Adapters for the properties stored with a form.
  int CharFilterValue() const { return FCharFilter; }
  void SetCharFilterValue(int Value) { SetCharFilter(static_cast<CharFilterType>(Value)); }
  int DateAgeValue() const { return FDateAge; }
  void SetDateAgeValue(int Value) { SetDateAge(static_cast<DateAgeType>(Value)); }

  CharFilterType FCharFilter = chDefault;
  DateAgeType FDateAge = dtCurrent;
  Variant FMinValue;
  Variant FMaxValue;
  TStringCaps* FStringCaps;
};

template <class Control>
bool TInputRules::FilterTypedKey(Control& C, char& Key) {
  if (C.ReadOnly()) return false;
  if (FCharFilter == chNumber || FCharFilter == chDecimal) {
    if (!NumberFilterAdmits(Key, FCharFilter, FormatSettings.DecimalSeparator)) Key = 0;
    return false;
  }
  if (FCharFilter != chDate) return false;
  const int start = C.SelStart();
  const int end = start + C.SelLength();
  AnsiString text;
  int newStart = start, newEnd = end;
  const char r =
      DateKeyProcess(*FStringCaps, Key, C.Text(), start, end, FDateAge, text, newStart, newEnd);
  const bool written = r == 1 && text != C.Text();
  if (r == 1) {
    C.SetText(text);
    C.SetSelStart(newStart);
    C.SetSelLength(newEnd - newStart);
  }
  if (r != Key) Key = 0;
  return written;
}

template <class Control>
bool TInputRules::RefilterText(Control& C) {
  if (!RecasingFilter() || C.ReadOnly()) return false;
  const int start = C.SelStart();
  const int length = C.SelLength();
  const AnsiString text = C.Text();
  const AnsiString filtered = FStringCaps->Filter(text, FCharFilter);
  if (filtered == text) return false;
  C.SetText(filtered);
  C.SetSelStart(start);
  C.SetSelLength(length);
  return true;
}
