#include "framework/forms/Edit.h"

#include <QKeyEvent>

#include "framework/forms/HandlerGuard.h"
#include "framework/rtl/CodePage.h"

TEdit::TEdit(TOwnerArg AOwner) : QLineEdit(AOwner.Parent), TWinControl(AOwner.Owner) {
  SetTabStop(true);
  connect(this, &QLineEdit::textEdited, this, [this] { Guarded([this] { Change(); }); });
}

AnsiString TEdit::Text() const { return QStringToAnsi(text()); }

void TEdit::SetText(const AnsiString& Value) {
  const QString q = AnsiToQString(Value);
  if (q != text()) setText(q);
}

int TEdit::SelStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

void TEdit::SetSelStart(int Value) { setCursorPosition(std::clamp(Value, 0, int(text().size()))); }

int TEdit::SelLength() const { return hasSelectedText() ? int(selectionLength()) : 0; }

void TEdit::SetSelLength(int Value) {
  const int start = SelStart();
  const int length = std::clamp(Value, 0, int(text().size()) - start);
  if (length == 0)
    setCursorPosition(start);
  else
    setSelection(start, length);
}

void TEdit::Change() {
  if (OnChange) OnChange(this);
}

void TEdit::keyPressEvent(QKeyEvent* Event) {
  ProcessKeyPress(Event, [this](QKeyEvent* e) { QLineEdit::keyPressEvent(e); });
}

void TEdit::keyReleaseEvent(QKeyEvent* Event) {
  ProcessKeyRelease(Event, [this](QKeyEvent* e) { QLineEdit::keyReleaseEvent(e); });
}
