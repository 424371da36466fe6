#include "controls/MyEdit.h"

#include "controls/ValueChecks.h"
#include "framework/forms/Palette.h"
#include "framework/forms/UserServices.h"

TMyEdit::TMyEdit(TOwnerArg AOwner) : TEdit(AOwner) {}

void TMyEdit::SetCharFilter(CharFilterType Value) {
  if (!ChangeCharFilter(Value)) return;
  SetText("");
  UpdEdit();
}

void TMyEdit::KeyPress(char& Key) {
  // A completed date is a change of the text like any other.
  if (FilterTypedKey(*this, Key)) Change();
  TEdit::KeyPress(Key);
  PreFilterKey(Key);
}

void TMyEdit::PreFilterKey(char& Key) {
  if (!RecasingFilter() || static_cast<unsigned char>(Key) < 32 || ReadOnly()) return;
  // Whoever listens to OnKeyUp or OnChange sees the letter as typed first.
  if (OnKeyUp || OnChange) return;
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

void TMyEdit::UpdEdit() {
  if (RefilterText(*this)) Change();
}

bool TMyEdit::ValidData() {
  const AnsiString text = Text();
  if (text.empty()) return true;
  if (FCharFilter == chEMail) return EMailShapeValid(text);
  return ValueInRange(text);
}

void TMyEdit::DoExit() {
  if (ChecksOnExit(*this) && !ValidData()) {
    MessageBeep(MB_SIMPLEBEEP);
    PostActivate();
  }
  TEdit::DoExit();
}

namespace Myedit {
void Register() {
  RegisterComponents("Custom", {ComponentClass<TMyEdit>("TMyEdit", "controls/MyEdit.h")});
}
}  // namespace Myedit
