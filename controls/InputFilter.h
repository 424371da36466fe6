#pragma once
// The two filter steps every input control takes, written once for the edit
// box and the combo box (any control with Text, SetText, SelStart,
// SetSelStart, SelLength and SetSelLength).
#include "controls/Strcaps.h"
#include "framework/rtl/FormatSettings.h"

// A typed key: the number filters drop what they do not admit; the date
// filter checks the key and may complete the date, in which case the text is
// replaced, the caret put at its end and the key dropped.
template <class Control>
void FilterTypedKey(Control& C, TStringCaps& Caps, CharFilterType Filter, DateAgeType DateAge,
                    char& Key) {
  if (Filter == chNumber || Filter == chDecimal) {
    if (!NumberFilterAdmits(Key, Filter, FormatSettings.DecimalSeparator)) Key = 0;
  } else if (Filter == chDate) {
    const int start = C.SelStart();
    const int end = start + C.SelLength();
    AnsiString text;
    int newStart = start, newEnd = end;
    const char r = DateKeyProcess(Caps, Key, C.Text(), start, end, DateAge, text, newStart, newEnd);
    if (r == 1) {
      C.SetText(text);
      C.SetSelStart(newStart);
      C.SetSelLength(newEnd - newStart);
    }
    if (r != Key) Key = 0;
  }
}

// The whole text again through the text filter, keeping the selection; an
// unchanged text is not written at all.
template <class Control>
void RefilterText(Control& C, TStringCaps& Caps, CharFilterType Filter) {
  const int start = C.SelStart();
  const int length = C.SelLength();
  const AnsiString text = C.Text();
  const AnsiString filtered = Caps.Filter(text, Filter);
  if (filtered == text) return;
  C.SetText(filtered);
  C.SetSelStart(start);
  C.SetSelLength(length);
}
