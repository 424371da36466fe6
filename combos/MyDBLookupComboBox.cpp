#include "combos/MyDBLookupComboBox.h"

#include "combos/EditLookupComboBox.h"
#include "framework/forms/Palette.h"

TMyDBLookupComboBox::TMyDBLookupComboBox(TOwnerArg AOwner) : TDBLookupComboBox(AOwner) {}

TMyDBLookupComboBox::~TMyDBLookupComboBox() = default;

bool TMyDBLookupComboBox::BindEvent(const AnsiString& Event, const TPublishedMethod& Method) {
  if (Event == "OnInvalidValue") {
    Method.BindTo(OnInvalidValue);
    return true;
  }
  return TDBLookupComboBox::BindEvent(Event, Method);
}

void TMyDBLookupComboBox::SetCharFilter(CharFilterType Value) {
  if (Value == FCharFilter) return;
  FCharFilter = Value;
  if (FEditBox) FEditBox->SetCharFilter(Value);
}

bool TMyDBLookupComboBox::ValidData() {
  if (!Text().empty() && FExactListValue) return ListMatch;
  return true;
}

void TMyDBLookupComboBox::DoEnter() {
  TDBLookupComboBox::DoEnter();
  if (!FEditBox) {
    FEditBox = new TEditLookupComboBox(Owner());
    FEditBox->setParent(this);
    // Drawn over this control, which must not show through it.
    FEditBox->setAutoFillBackground(true);
    // In the keyboard order right after this control: Tab from the box goes
    // on to the next control.
    QWidget::setTabOrder(this, FEditBox);
    FEditBox->SetName("EditBox");
    FEditBox->SetText(Text());
    FEditBox->SetDBCombo(this);
    FEditBox->SetBounds(-2, -2, Width(), Height());
    FEditBox->SetCharFilter(FCharFilter);
    FEditBox->show();
  } else {
    FEditBox->SetText(Text());
  }
  if (FButtonClick) {
    // The list the press is opening stays usable.
    FButtonClick = false;
  } else {
    ::PostActivate(FEditBox);
  }
}

void TMyDBLookupComboBox::Paint() {
  if (FEditBox) FEditBox->SetText(Text());
  TDBLookupComboBox::Paint();
}

void TMyDBLookupComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FButtonClick = Button == mbLeft && X >= ClientRect().width() - 16;
  TDBLookupComboBox::MouseDown(Button, Shift, X, Y);
}

void TMyDBLookupComboBox::DropDown() { TDBLookupComboBox::DropDown(); }

void TMyDBLookupComboBox::CloseUp(bool Accept) {
  TDBLookupComboBox::CloseUp(Accept);
  ListMatch = true;
  if (FEditBox) ::PostActivate(FEditBox);
}

void TMyDBLookupComboBox::DoExit() {
  AnsiString value;
  if (FEditBox) {
    value = FEditBox->UnmatchedText;
    FEditBox->Release();
    FEditBox = nullptr;
  }
  // A pass on the way back to another control that failed its check
  // decides nothing here.
  if (!FocusInPassing() && !ValidData()) {
    PostActivate();
    if (OnInvalidValue) OnInvalidValue(this, value);
  }
  TDBLookupComboBox::DoExit();
}

namespace Mydblookupcombobox {
void Register() {
  RegisterComponents("Custom", {ComponentClass<TMyDBLookupComboBox>(
                                   "TMyDBLookupComboBox", "combos/MyDBLookupComboBox.h")});
}
}  // namespace Mydblookupcombobox
