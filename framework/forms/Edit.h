#pragma once
// TEdit: the single-line edit box over QLineEdit. Text is Windows-1252;
// Change runs after the user's edits only, never after a write of Text.
#include <QLineEdit>

#include "framework/forms/OwnerArg.h"
#include "framework/forms/WinControl.h"

class TEdit : public QLineEdit, public TWinControl {
  Q_OBJECT
 public:
  explicit TEdit(TOwnerArg AOwner);

  QWidget* Widget() override { return this; }

  AnsiString Text() const;
  // Replaces the text only when it differs, so an unchanged write notifies
  // nobody and keeps the caret.
  void SetText(const AnsiString& Value);
  // Selection start (the caret when nothing is selected), 0-based.
  int SelStart() const;
  void SetSelStart(int Value);  // places the caret, clearing the selection
  int SelLength() const;
  void SetSelLength(int Value);  // selects from SelStart
  bool ReadOnly() const { return isReadOnly(); }
  void SetReadOnly(bool Value) { setReadOnly(Value); }
  int MaxLength() const { return maxLength(); }
  void SetMaxLength(int Value) { setMaxLength(Value > 0 ? Value : 32767); }

  TNotifyEvent OnChange;

 protected:
  virtual void Change();

  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
};
