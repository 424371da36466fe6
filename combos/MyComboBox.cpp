#include "combos/MyComboBox.h"

#include "framework/forms/Palette.h"
#include "framework/forms/UserServices.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/FormatSettings.h"

TMyComboBox::TMyComboBox(TOwnerArg AOwner) : TComboBox(AOwner) {}

TMyComboBox::~TMyComboBox() { FErrorMessage.clear(); }

void TMyComboBox::SetCharFilter(CharFilterType Value) { ChangeCharFilter(Value); }

void TMyComboBox::KeyPress(char& Key) {
  // A completed date is a change of the text like any other; the filter has
  // nothing to re-case in a date.
  if (FilterTypedKey(*this, Key)) TComboBox::Change();
  TComboBox::KeyPress(Key);
}

void TMyComboBox::Change() {
  TComboBox::Change();
  UpdEdit();
}

// The filtered text is announced as well; the re-filtering is not run again
// for it, since a filtered text filters to itself.
void TMyComboBox::UpdEdit() {
  if (RefilterText(*this)) TComboBox::Change();
}

namespace {

// Equal when the case of ASCII letters is ignored; other characters must match.
bool EqualIgnoringAsciiCase(QStringView A, QStringView B) {
  if (A.size() != B.size()) return false;
  for (qsizetype i = 0; i < A.size(); ++i) {
    const char16_t a = A[i].unicode(), b = B[i].unicode();
    if (a == b) continue;
    const char16_t small = a | 0x20;
    if (small != (b | 0x20) || small < 'a' || small > 'z') return false;
  }
  return true;
}

}  // namespace

bool TMyComboBox::InItems(const AnsiString& Text) {
  const QString text = AnsiToQString(Text);
  const int count = this->count();
  const bool recases = RecasingFilter();
  for (int i = 0; i < count; ++i) {
    const QString entry = itemText(i);
    if (!recases) {
      if (entry == text) return true;
      continue;
    }
    // The user's text is re-cased after every change, so an entry matches
    // when its own filtered form equals the text: a chosen entry must pass.
    // The filters change only the case of ASCII letters, so only entries
    // equal to the text but for that can match; the rest are never filtered.
    if (EqualIgnoringAsciiCase(entry, text) &&
        FStringCaps->Filter(QStringToAnsi(entry), FCharFilter) == Text)
      return true;
  }
  return false;
}

bool TMyComboBox::ValidData() {
  const AnsiString text = Text();
  if (text.empty()) return !FRequired;
  switch (FCharFilter) {
    case chDate:
    case chNumber:
    case chDecimal:
      return ValueInRange(text);
    default:
      return !FExactListValue || InItems(text);
  }
}

void TMyComboBox::DoExit() {
  if (ChecksOnExit(*this) && !ValidData()) {
    if (!FErrorMessage.empty())
      MessageBoxA(this, FErrorMessage, "Errore", MB_OK);
    else
      MessageBeep(MB_SIMPLEBEEP);
    PostActivate();
  }
  TComboBox::DoExit();
}

QString TMyComboBox::ErrorMessageValue() const { return AnsiToQString(FErrorMessage); }

void TMyComboBox::SetErrorMessageValue(const QString& Value) {
  SetErrorMessage(QStringToAnsi(Value));
}

namespace Mycombobox {
void Register() {
  RegisterComponents("Custom", {ComponentClass<TMyComboBox>("TMyComboBox", "combos/MyComboBox.h")});
}
}  // namespace Mycombobox
