#include "framework/forms/WinControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QSet>

#include "framework/forms/FocusTracker.h"
#include "framework/forms/HandlerGuard.h"
#include "framework/rtl/CodePage.h"

namespace {

// Controls whose control part is alive: a widget outlives the control part
// of its object by the length of its own destructor.
QSet<const TWinControl*>& LiveControls() {
  static QSet<const TWinControl*> live;
  return live;
}

}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  LiveControls().insert(this);
  TFocusTracker::Install();
}

TWinControl::~TWinControl() { LiveControls().remove(this); }

TWinControl* TWinControl::FromWidget(QWidget* W) {
  auto* c = dynamic_cast<TWinControl*>(W);
  return (c && LiveControls().contains(c)) ? c : nullptr;
}

bool TWinControl::TabStop() const { return FTabStop; }

void TWinControl::SetTabStop(bool Value) {
  FTabStop = Value;
  // A control without a tab stop is skipped by Tab but still takes a click.
  Widget()->setFocusPolicy(Value ? Qt::StrongFocus : Qt::ClickFocus);
}

bool TWinControl::Focused() const { return Widget()->hasFocus(); }

void TWinControl::SetFocus() { Widget()->setFocus(Qt::OtherFocusReason); }

void TWinControl::PostActivate() { ::PostActivate(Widget()); }

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::ProcessKeyPress(QKeyEvent* Event, const std::function<void(QKeyEvent*)>& Base) {
  // A handler that fails keeps the key from the control, as an aborted
  // message would.
  bool deliver = false;
  int replacement = -1;
  Guarded([&] {
    WORD vk = VirtualKey(Event);
    KeyDown(vk, ShiftStateOf(Event));
    const int typed = TypedChar(Event);
    if (typed < 0) {
      deliver = vk != 0;  // a handler that clears a navigation key keeps it from the control
      return;
    }
    char key = static_cast<char>(typed);
    KeyPress(key);
    deliver = key != 0;
    if (deliver && static_cast<unsigned char>(key) != typed)
      replacement = static_cast<unsigned char>(key);
  });
  if (!deliver) {
    Event->accept();
    return;
  }
  if (replacement < 0) {
    Base(Event);
    return;
  }
  // Another character than the one typed: deliver it as if typed, without
  // the modifiers that made the original a shortcut.
  const QString text(
      QChar(static_cast<char16_t>(AnsiCharToUnicode(static_cast<unsigned char>(replacement)))));
  int qtKey = Qt::Key_unknown;
  switch (replacement) {
    case 8:
      qtKey = Qt::Key_Backspace;
      break;
    case 13:
      qtKey = Qt::Key_Return;
      break;
    case 27:
      qtKey = Qt::Key_Escape;
      break;
    default:
      if (replacement >= 32 && replacement < 127) qtKey = QChar(replacement).toUpper().unicode();
  }
  QKeyEvent replaced(Event->type(), qtKey, Event->modifiers() & Qt::ShiftModifier, text,
                     Event->isAutoRepeat());
  Base(&replaced);
  Event->setAccepted(replaced.isAccepted());
}

void TWinControl::ProcessKeyRelease(QKeyEvent* Event, const std::function<void(QKeyEvent*)>& Base) {
  Base(Event);
  if (Event->isAutoRepeat()) return;  // one release per key, as the platform reports it
  Guarded([&] {
    WORD vk = VirtualKey(Event);
    KeyUp(vk, ShiftStateOf(Event));
  });
}

void PostActivate(QWidget* Control) {
  QPointer<QWidget> target(Control);
  QMetaObject::invokeMethod(
      qApp,
      [target] {
        if (!target || !target->isVisible() || !target->isEnabled()) return;
        QWidget* window = target->window();
        if (!window || !window->isVisible()) return;
        if (!window->isActiveWindow()) window->activateWindow();
        target->setFocus(Qt::OtherFocusReason);
      },
      Qt::QueuedConnection);
}
