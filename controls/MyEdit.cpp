#include "controls/MyEdit.h"

#include "controls/InputFilter.h"
#include "controls/ValueChecks.h"
#include "framework/forms/Palette.h"
#include "framework/forms/UserServices.h"
#include "framework/rtl/FormatSettings.h"

TMyEdit::TMyEdit(TOwnerArg AOwner) : TEdit(AOwner), FStringCaps(new TStringCaps) {}

TMyEdit::~TMyEdit() {
  delete FStringCaps;
  FMinValue.Clear();
  FMaxValue.Clear();
}

void TMyEdit::SetCharFilter(CharFilterType Value) {
  if (Value == FCharFilter) return;
  FCharFilter = Value;
  if (Value != chDate && FDateAge != dtNone) FDateAge = dtNone;
  FMinValue.Clear();
  FMaxValue.Clear();
  SetText("");
  UpdEdit();
}

void TMyEdit::KeyPress(char& Key) {
  FilterTypedKey(*this, *FStringCaps, FCharFilter, FDateAge, Key);
  TEdit::KeyPress(Key);
  PreFilterKey(Key);
}

void TMyEdit::PreFilterKey(char& Key) {
  if (FCharFilter < chFirstCap || FCharFilter > chAllCaps) return;
  if (static_cast<unsigned char>(Key) < 32 || ReadOnly()) return;
  // When the text filter would change only the character being typed, type
  // its filtered form at once: the release then finds nothing to rewrite, and
  // a long text is laid out once per keystroke instead of twice.
  const int start = SelStart();
  AnsiString typed = Text();
  typed.replace(static_cast<size_t>(start), static_cast<size_t>(SelLength()), 1, Key);
  const AnsiString filtered = FStringCaps->Filter(typed, FCharFilter);
  if (filtered.size() != typed.size()) return;
  if (filtered.compare(0, start, typed, 0, start) != 0) return;
  const size_t after = static_cast<size_t>(start) + 1;
  if (filtered.compare(after, AnsiString::npos, typed, after, AnsiString::npos) != 0) return;
  Key = filtered[static_cast<size_t>(start)];
}

void TMyEdit::KeyUp(WORD& Key, TShiftState Shift) {
  TEdit::KeyUp(Key, Shift);
  UpdEdit();
}

void TMyEdit::UpdEdit() { RefilterText(*this, *FStringCaps, FCharFilter); }

bool TMyEdit::ValidData() {
  const AnsiString text = Text();
  if (text.empty()) return true;
  switch (FCharFilter) {
    case chDate:
    case chNumber:
    case chDecimal:
      return ValueInBounds(text, FCharFilter, FMinValue, FMaxValue, FormatSettings);
    case chEMail:
      return EMailShapeValid(text);
    default:
      return true;
  }
}

void TMyEdit::DoExit() {
  if (!ValidData()) {
    MessageBeep(MB_SIMPLEBEEP);
    PostActivate();
  }
  TEdit::DoExit();
}

namespace Myedit {
void Register() { RegisterComponents("Custom", {ComponentClass<TMyEdit>("TMyEdit")}); }
}  // namespace Myedit
