#include "combos/EditLookupComboBox.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <algorithm>

#include "combos/MyDBLookupComboBox.h"
#include "framework/forms/HandlerGuard.h"
#include "framework/rtl/CodePage.h"

TEditLookupComboBox::TEditLookupComboBox(TOwnerArg AOwner) : TMyComboBox(AOwner) {
  SetExactListValue(false);
}

TEditLookupComboBox::~TEditLookupComboBox() {
  UnmatchedText.clear();
  FKeyFields.clear();
  FLookupKeyFields.clear();
  FLookupResultField.clear();
}

void TEditLookupComboBox::SetDBCombo(TMyDBLookupComboBox* Combo) {
  FDBCombo = Combo;
  FDataSet = nullptr;
  FLookupDataSet = nullptr;
  FField = nullptr;
  FKeyFields.clear();
  FLookupKeyFields.clear();
  FLookupResultField.clear();
  FEdited = false;
  if (!Combo || !Combo->DataSource() || Combo->DataField().empty()) return;
  TDataSet* dataSet = Combo->DataSource()->DataSet();
  if (!dataSet || !dataSet->Active() || !Combo->Field()) return;
  FDataSet = dataSet;
  FField = Combo->Field();
  if (FField->FieldKind() == fkLookup) {
    FLookupDataSet = FField->LookupDataSet();
    FKeyFields = FField->KeyFields();
    FLookupKeyFields = FField->LookupKeyFields();
    FLookupResultField = FField->LookupResultField();
  } else if (FField->FieldKind() == fkData) {
    TDataSource* list = Combo->ListSource();
    if (!list || !list->DataSet() || !list->DataSet()->Active() || Combo->ListField().empty() ||
        Combo->KeyField().empty())
      return;
    FLookupDataSet = list->DataSet();
    FKeyFields = Combo->KeyField();
    FLookupResultField = FieldNameAt(Combo->ListField(), Combo->ListFieldIndex());
    FLookupKeyFields = FLookupResultField;
  } else {
    return;
  }
  if (!FLookupDataSet || !FLookupDataSet->Active()) return;
  // Whatever record another control left the list on, the box starts from
  // the one it shows.
  LocateShownKey();
  // The first keystroke must not wait for the search index.
  if (!FLookupResultField.empty() && FLookupDataSet->FindField(FLookupResultField))
    FLookupDataSet->PrepareLocate(FLookupResultField, {loCaseInsensitive, loPartialKey});
}

void TEditLookupComboBox::LocateShownKey() {
  if (!FLookupDataSet || !FLookupDataSet->Active() || !FField) return;
  const bool lookup = FField->FieldKind() == fkLookup;
  const TField* key = lookup ? FDataSet->FindField(FKeyFields) : FField;
  const AnsiString& listKey = lookup ? FLookupKeyFields : FKeyFields;
  if (!key || key->IsNull() || !FLookupDataSet->FindField(listKey)) return;
  FLookupDataSet->Locate(listKey, key->Value(), {});
}

AnsiString TEditLookupComboBox::Searched(const AnsiString& Text, int Start, int Length) {
  const auto typedPart = [&](const AnsiString& T) {
    return T.substr(0, static_cast<size_t>(Start + Length));
  };
  AnsiString t = FStringCaps->Filter(Text, CharFilter());
  if (FField && FField->Size() != 0) t = typedPart(t);
  FEdited = true;
  if (t.empty() || !FLookupDataSet || FKeyFields.empty() || FLookupKeyFields.empty() ||
      FLookupResultField.empty())
    return t;
  FLookupDataSet->First();
  const bool found =
      FLookupDataSet->Locate(FLookupResultField, Variant(t), {loCaseInsensitive, loPartialKey});
  if (FDBCombo) FDBCombo->ListMatch = found;
  if (!found) return typedPart(t);
  return FStringCaps->Filter(FLookupDataSet->FieldByName(FLookupResultField)->AsString(),
                             CharFilter());
}

void TEditLookupComboBox::Show(const AnsiString& Value, int Start, int Length) {
  const QString text = AnsiToQString(Value);
  QLineEdit* edit = lineEdit();
  if (edit->text() == text) return;
  // Straight to the caret the user left: one move of it, not three.
  edit->setText(text);
  if (Length == 0)
    edit->setCursorPosition(std::clamp(Start, 0, int(text.size())));
  else
    edit->setSelection(Start, Length);
}

// The text is shown once, completed: the cut text a search starts from is
// never shown on its own, since nothing runs between the two writes.
void TEditLookupComboBox::UpdEdit() {
  const int start = SelStart();
  const int length = SelLength();
  Show(Searched(Text(), start, length), start, length);
}

void TEditLookupComboBox::KeyPress(char& Key) {
  TMyComboBox::KeyPress(Key);
  // A typed character, or a plain Backspace, changes the text already
  // completed, so a keystroke lays the text out once. Whoever listens to
  // OnChange or OnKeyUp sees the edit first, then the completion.
  if (ReadOnly() || OnChange || OnKeyUp) return;
  const auto key = static_cast<unsigned char>(Key);
  const bool erase = key == 8 && !(QGuiApplication::keyboardModifiers() & Qt::ControlModifier);
  if (key < 32 && !erase) return;
  AnsiString edited = Text();
  int start = SelStart();
  const int length = SelLength();
  if (erase) {
    if (length == 0 && start == 0) return;
    const int from = length > 0 ? start : start - 1;
    edited.erase(static_cast<size_t>(from), static_cast<size_t>(length > 0 ? length : 1));
    start = from;
  } else {
    if (MaxLength() > 0 && int(edited.size()) - length >= MaxLength()) return;
    edited.replace(static_cast<size_t>(start), static_cast<size_t>(length), 1, Key);
    ++start;
  }
  Key = 0;
  const AnsiString shown = Searched(edited, start, 0);
  if (Text() == shown)
    SetSelStart(start);
  else
    Show(shown, start, 0);
  // The change is announced; the search it would run is done.
  TComboBox::Change();
}

void TEditLookupComboBox::DoExit() {
  if (FDBCombo) {
    if (FDBCombo->ListMatch && FDataSet && FField) {
      if (FDataSet->State() != dsEdit && FDataSet->State() != dsInsert) FDataSet->Edit();
      // Untouched since it was bound, the box shows the field's own value
      // (or one picked from the list, already written): nothing to copy, and
      // a key the list does not hold is not lost.
      if (FEdited) CommitKey();
    }
    if (!FDBCombo->ListMatch) UnmatchedText = Text();
  }
  TMyComboBox::DoExit();
}

void TEditLookupComboBox::CommitKey() {
  const bool lookup = FField->FieldKind() == fkLookup;
  if (!lookup && FField->FieldKind() != fkData) return;
  TField* target = lookup ? FDataSet->FieldByName(FKeyFields) : FField;
  if (Text().empty()) {
    target->Clear();
  } else if (FLookupDataSet) {
    target->SetValue(FLookupDataSet->FieldByName(lookup ? FLookupKeyFields : FKeyFields)->Value());
  }
}

void TEditLookupComboBox::showPopup() {
  if (DroppedDown()) return;
  Guarded([this] { DropDown(); });
}

void TEditLookupComboBox::DropDown() {
  if (!FDBCombo) return;
  DoExit();
  FDBCombo->DropDown();
  ::PostActivate(FDBCombo);
}

void TEditLookupComboBox::focusInEvent(QFocusEvent* Event) {
  TMyComboBox::focusInEvent(Event);
  // The shown value is selected whole, as a combo box's field is when it
  // takes the focus: what the user types replaces it, and is searched alone.
  if (Event->reason() != Qt::PopupFocusReason) lineEdit()->selectAll();
}

bool TEditLookupComboBox::focusNextPrevChild(bool Next) {
  if (Next || !FDBCombo) return TMyComboBox::focusNextPrevChild(Next);
  for (QWidget* w = FDBCombo->previousInFocusChain(); w && w != FDBCombo;
       w = w->previousInFocusChain()) {
    if (w->window() != window() || FDBCombo->isAncestorOf(w)) continue;
    if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
      w->setFocus(Qt::BacktabFocusReason);
      return true;
    }
  }
  return true;
}

void TEditLookupComboBox::Release() {
  hide();
  SetDBCombo(nullptr);
  SetName("");
  deleteLater();
}
