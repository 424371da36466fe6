#include "combos/EditLookupComboBox.h"

#include "combos/MyDBLookupComboBox.h"
#include "framework/forms/HandlerGuard.h"

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

void TEditLookupComboBox::UpdEdit() {
  const int start = SelStart();
  const int length = SelLength();
  const auto typedPart = [&](const AnsiString& T) {
    return T.substr(0, static_cast<size_t>(start + length));
  };
  AnsiString t = FStringCaps->Filter(Text(), CharFilter());
  if (FField && FField->Size() != 0) t = typedPart(t);
  const auto show = [&] {
    if (Text() == t) return;
    SetText(t);
    SetSelStart(start);
    SetSelLength(length);
  };
  FEdited = true;
  const bool search = !t.empty() && FLookupDataSet && !FKeyFields.empty() &&
                      !FLookupKeyFields.empty() && !FLookupResultField.empty();
  // Shown once, completed: nothing runs between the two writes a search
  // would make, so the first is left out and a long list's keystroke lays
  // the text out once less.
  if (!search) {
    show();
    return;
  }
  {
    FLookupDataSet->First();
    if (FLookupDataSet->Locate(FLookupResultField, Variant(t), {loCaseInsensitive, loPartialKey})) {
      if (FDBCombo) FDBCombo->ListMatch = true;
      t = FStringCaps->Filter(FLookupDataSet->FieldByName(FLookupResultField)->AsString(),
                              CharFilter());
    } else {
      if (FDBCombo) FDBCombo->ListMatch = false;
      t = typedPart(t);
    }
  }
  show();
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
