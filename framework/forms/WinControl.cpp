#include "framework/forms/WinControl.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QSet>
#include <vector>

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

// Activations posted and not yet finished, each with its own number.
struct TPendingActivation {
  unsigned Id;
  QPointer<QWidget> Target;
};
std::vector<TPendingActivation>& PendingActivations() {
  static std::vector<TPendingActivation> pending;
  return pending;
}

// Sends Text to W as typed characters, one key press (and release) each.
void TypeCharacters(QWidget* W, const QString& Text, bool WithRelease) {
  QPointer<QWidget> target(W);
  for (const char32_t u : Text.toUcs4()) {
    if (!target) return;
    const QString ch = QString::fromUcs4(&u, 1);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, ch);
    QCoreApplication::sendEvent(target, &press);
    if (!WithRelease || !target) continue;
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, ch);
    QCoreApplication::sendEvent(target, &release);
  }
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
  Widget()->setFocusPolicy(FocusPolicyFor(Value));
}

bool TWinControl::Focused() const { return Widget()->hasFocus(); }

void TWinControl::SetFocus() { Widget()->setFocus(Qt::OtherFocusReason); }

void TWinControl::PostActivate() { ::PostActivate(Widget()); }

bool TWinControl::FocusInPassing() const { return ActivationPendingElsewhere(Widget()); }

bool TWinControl::BindEvent(const AnsiString& Event, const TPublishedMethod& Method) {
  if (Event == "OnEnter") {
    Method.BindTo(OnEnter);
  } else if (Event == "OnExit") {
    Method.BindTo(OnExit);
  } else if (Event == "OnKeyPress") {
    Method.BindTo(OnKeyPress);
  } else if (Event == "OnKeyDown") {
    Method.BindTo(OnKeyDown);
  } else if (Event == "OnKeyUp") {
    Method.BindTo(OnKeyUp);
  } else {
    return false;
  }
  return true;
}

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
  // Several characters in one press (a composed sequence) are typed one by one.
  if (Event->text().toUcs4().size() > 1 && TypedChar(Event) >= 32) {
    Event->accept();
    TypeCharacters(Widget(), Event->text(), false);
    return;
  }
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

void TWinControl::ProcessInputMethod(QInputMethodEvent* Event,
                                     const std::function<void(QInputMethodEvent*)>& Base) {
  const QString commit = Event->commitString();
  if (commit.isEmpty()) {
    Base(Event);
    return;
  }
  QInputMethodEvent composing(Event->preeditString(), Event->attributes());
  if (Event->replacementLength() != 0)
    composing.setCommitString(QString(), Event->replacementStart(), Event->replacementLength());
  Base(&composing);
  Event->accept();
  TypeCharacters(Widget(), commit, true);
}

void PostActivate(QWidget* Control) {
  static unsigned lastId = 0;
  const unsigned id = ++lastId;
  PendingActivations().push_back({id, Control});
  QPointer<QWidget> target(Control);
  QMetaObject::invokeMethod(
      qApp,
      [id, target] {
        // Finished, whichever way this ends.
        struct TDone {
          unsigned Id;
          ~TDone() {
            auto& pending = PendingActivations();
            std::erase_if(pending, [this](const TPendingActivation& p) { return p.Id == Id; });
          }
        } done{id};
        if (!target || !target->isVisible() || !target->isEnabled()) return;
        QWidget* window = target->window();
        if (!window || !window->isVisible()) return;
        if (!window->isActiveWindow()) window->activateWindow();
        target->setFocus(Qt::OtherFocusReason);
      },
      Qt::QueuedConnection);
}

bool ActivationPendingElsewhere(const QWidget* W) {
  for (const TPendingActivation& p : PendingActivations())
    if (p.Target && p.Target != W && !W->isAncestorOf(p.Target)) return true;
  return false;
}
