#include "framework/forms/Edit.h"

#include <QKeyEvent>

#include "framework/forms/HandlerGuard.h"
#include "framework/forms/LineEditText.h"

TEdit::TEdit(TOwnerArg AOwner) : QLineEdit(AOwner.Parent), TWinControl(AOwner.Owner) {
  SetTabStop(true);
  SetMaxLength(0);
  connect(this, &QLineEdit::textEdited, this, [this] {
    KeepLineEditAnsi(this);
    Guarded([this] { Change(); });
  });
}

int TEdit::MaxLength() const { return LineEditMaxLength(this); }

void TEdit::SetMaxLength(int Value) { SetLineEditMaxLength(this, Value); }

AnsiString TEdit::Text() const { return LineEditText(this); }

void TEdit::SetText(const AnsiString& Value) { SetLineEditText(this, Value); }

int TEdit::SelStart() const { return LineEditSelStart(this); }

void TEdit::SetSelStart(int Value) { SetLineEditSelStart(this, Value); }

int TEdit::SelLength() const { return LineEditSelLength(this); }

void TEdit::SetSelLength(int Value) { SetLineEditSelLength(this, Value); }

void TEdit::Change() {
  if (OnChange) OnChange(this);
}

void TEdit::keyPressEvent(QKeyEvent* Event) {
  ProcessKeyPress(Event, [this](QKeyEvent* e) { QLineEdit::keyPressEvent(e); });
}

void TEdit::keyReleaseEvent(QKeyEvent* Event) {
  ProcessKeyRelease(Event, [this](QKeyEvent* e) { QLineEdit::keyReleaseEvent(e); });
}

void TEdit::inputMethodEvent(QInputMethodEvent* Event) {
  ProcessInputMethod(Event, [this](QInputMethodEvent* e) { QLineEdit::inputMethodEvent(e); });
}

bool TEdit::BindEvent(const AnsiString& Event, const TPublishedMethod& Method) {
  if (Event == "OnChange") {
    Method.BindTo(OnChange);
    return true;
  }
  return TWinControl::BindEvent(Event, Method);
}
