#pragma once
// TEditLookupComboBox: the typing box of TMyDBLookupComboBox. A validated
// combo box whose text is searched as a prefix, ignoring case, in the lookup
// list after every change and completed to the first matching record; on
// leaving, the matched record's key goes into the field, and a text that
// matched nothing is kept in UnmatchedText for the lookup combo box. Its own
// drop-down button opens the lookup combo box's list.
#include "combos/MyComboBox.h"
#include "framework/db/DataSet.h"

class TMyDBLookupComboBox;

class TEditLookupComboBox : public TMyComboBox {
  Q_OBJECT
 public:
  explicit TEditLookupComboBox(TOwnerArg AOwner);
  ~TEditLookupComboBox() override;

  // Binds the box to the lookup combo box: its field, the data set holding
  // it and the list searched. Stops early, binding less, when any of them
  // is missing; an unbound box does no search.
  void SetDBCombo(TMyDBLookupComboBox* Combo);

  // The search while typing.
  void UpdEdit() override;
  // Commits the matched record's key, then the exit of the combo box.
  void DoExit() override;
  // Opens the lookup combo box's list instead of its own.
  void showPopup() override;

  // Hides the box and lets it go once the event under way has finished; it
  // gives up its name at once, so a new box can take it.
  void Release();

  // The text at the last exit without a list match.
  AnsiString UnmatchedText;

 protected:
  void KeyPress(char& Key) override;
  void DropDown() override;
  // Backwards the box is left for the control before the pair, not for the
  // lookup combo box under it.
  bool focusNextPrevChild(bool Next) override;
  void focusInEvent(QFocusEvent* Event) override;

 private:
  // Puts the lookup data set on the record of the field's key, the one the
  // box shows when nobody has searched since it was bound.
  void LocateShownKey();
  // The text to show for Text with the caret at Start + Length: filtered, cut
  // after the caret for a sized field, searched and completed. Sets ListMatch.
  AnsiString Searched(const AnsiString& Text, int Start, int Length);
  // Shows Value, when it differs, with the selection Start, Length.
  void Show(const AnsiString& Value, int Start, int Length);
  // Writes the key of the lookup data set's current record into the field
  // (for a lookup field, into its key field), or clears it for an empty box.
  void CommitKey();

  TMyDBLookupComboBox* FDBCombo = nullptr;
  TDataSet* FDataSet = nullptr;
  TDataSet* FLookupDataSet = nullptr;
  TField* FField = nullptr;
  AnsiString FKeyFields;
  AnsiString FLookupKeyFields;
  AnsiString FLookupResultField;
  bool FEdited = false;  // a change by the user since binding
};
