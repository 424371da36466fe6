#pragma once
// TEdit: the single-line edit box over QLineEdit. Text is Windows-1252 and
// the box shows exactly the text it holds; Change runs after the user's
// edits, never after a write of Text from code.
#include <QLineEdit>

#include "framework/forms/OwnerArg.h"
#include "framework/forms/WinControl.h"

class TEdit : public QLineEdit, public TWinControl {
  Q_OBJECT
 public:
  explicit TEdit(TOwnerArg AOwner);

  QWidget* Widget() override { return this; }
  bool BindEvent(const AnsiString& Event, const TPublishedMethod& Method) override;

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
  // The most characters the user can type; 0 (the default) sets no limit.
  int MaxLength() const;
  void SetMaxLength(int Value);

  TNotifyEvent OnChange;

 protected:
  virtual void Change();

  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  void inputMethodEvent(QInputMethodEvent* Event) override;
};
