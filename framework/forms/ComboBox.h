#pragma once
// TComboBox: an edit field with a drop-down list of text entries, over an
// editable QComboBox. Text is Windows-1252; Change runs after the user's
// edits and after a choice from the list, never after a write of Text or a
// change of the entries from code.
#include <QComboBox>
#include <vector>

#include "framework/forms/OwnerArg.h"
#include "framework/forms/WinControl.h"

class TComboBox;

// The entries of the list, in the manner of a string list: a handle on the
// combo box, cheap to copy. Changing the entries never touches the text.
class TComboBoxItems {
 public:
  explicit TComboBoxItems(TComboBox* Combo) : FCombo(Combo) {}
  int Count() const;
  // Throws for an index outside the list.
  AnsiString Strings(int Index) const;
  AnsiString operator[](int Index) const { return Strings(Index); }
  // Appends S and returns its index.
  int Add(const AnsiString& S);
  void AddStrings(const std::vector<AnsiString>& List);
  void Clear();

 private:
  TComboBox* FCombo;
};

class TComboBox : public QComboBox, public TWinControl {
  Q_OBJECT
 public:
  explicit TComboBox(TOwnerArg AOwner);

  QWidget* Widget() override { return this; }
  bool BindEvent(const AnsiString& Event, const TPublishedMethod& Method) override;

  AnsiString Text() const;
  // Replaces the text only when it differs, so an unchanged write notifies
  // nobody and keeps the caret.
  void SetText(const AnsiString& Value);
  // Selection in the edit field, as in TEdit.
  int SelStart() const;
  void SetSelStart(int Value);  // places the caret, clearing the selection
  int SelLength() const;
  void SetSelLength(int Value);  // selects from SelStart
  // A read-only box shows its text and list but takes no edit.
  bool ReadOnly() const;
  void SetReadOnly(bool Value);
  // The most characters the user can type; 0 (the default) sets no limit.
  int MaxLength() const;
  void SetMaxLength(int Value);

  TComboBoxItems Items() { return TComboBoxItems(this); }
  const TComboBoxItems Items() const { return TComboBoxItems(const_cast<TComboBox*>(this)); }

  bool DroppedDown() const;
  void SetDroppedDown(bool Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  void showPopup() override;

 protected:
  virtual void Change();
  // Before the list opens, and after it has closed (with or without a choice).
  virtual void DropDown();
  virtual void CloseUp();

  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void inputMethodEvent(QInputMethodEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  friend class TComboBoxItems;
  // Runs Edit on the entries, then puts back the text, the selection and the
  // absence of a current entry: the toolkit makes the first entry added to an
  // empty list current and shows it, which would overwrite the user's text.
  template <class F>
  void ChangingItems(F Edit);

  bool FListShown = false;
};
