#pragma once
// TWinControl: a control that takes the keyboard focus. It sees typed
// characters (KeyPress), key releases (KeyUp) and the focus entering
// (DoEnter) and leaving (DoExit) it and its children.
#include <functional>

#include "framework/forms/Control.h"
#include "framework/forms/KeyCodes.h"
#include "framework/forms/PublishedMethod.h"

class QInputMethodEvent;
class QKeyEvent;

using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // The control behind W when W is a live focus-taking control, else nullptr.
  // Safe on widgets whose control part is already being destroyed.
  static TWinControl* FromWidget(QWidget* W);

  // Position in the keyboard order among the parent's controls (stored
  // with the form; the form builds the order from it).
  int TabOrder() const { return Widget()->property("TabOrder").toInt(); }
  bool TabStop() const;
  void SetTabStop(bool Value);
  bool Focused() const;
  void SetFocus();
  // Gives this control the focus once the focus change under way has finished.
  void PostActivate();
  // True while an activation posted for another control is waiting or under
  // way: the focus only passes through this control on its way back there,
  // so this control's own exit check has nothing to decide.
  bool FocusInPassing() const;

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TKeyEvent OnKeyDown;

  // Binds the stored event named Event ("OnExit") to Method; false when the
  // control has no such event. Each class binds its own events and passes
  // the others to its base. Throws EComponentError when Method's type does
  // not fit the event.
  virtual bool BindEvent(const AnsiString& Event, const TPublishedMethod& Method);

  // Raised by the focus bookkeeping; public so the tracker can reach them.
  virtual void DoEnter();
  virtual void DoExit();

 protected:
  // How the toolkit gives this control the focus: by Tab when it has a tab
  // stop, and on a click. A control that takes the focus in its own
  // MouseDown leaves the click out.
  virtual Qt::FocusPolicy FocusPolicyFor(bool TabStop) const {
    return TabStop ? Qt::StrongFocus : Qt::ClickFocus;
  }

  // Key = 0 swallows the character; another value is typed instead.
  virtual void KeyPress(char& Key);
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);

  // For the Qt key handlers of derived controls: runs KeyDown and KeyPress
  // and calls Base with the event to deliver (the original, a replacement
  // carrying the changed character, or none when the key was swallowed).
  void ProcessKeyPress(QKeyEvent* Event, const std::function<void(QKeyEvent*)>& Base);
  void ProcessKeyRelease(QKeyEvent* Event, const std::function<void(QKeyEvent*)>& Base);
  // Text committed by an input method (dead keys, compose) is typed: each
  // character goes through the key handling as a press and a release. The
  // rest of the event (the text being composed) goes to Base.
  void ProcessInputMethod(QInputMethodEvent* Event,
                          const std::function<void(QInputMethodEvent*)>& Base);

 private:
  bool FTabStop = true;
};

// Queues a request that gives Control the focus after the focus change under
// way has finished. Guarded against deleted controls, hidden controls and
// closed windows, so two controls cannot keep taking it from each other
// once one of them is gone.
void PostActivate(QWidget* Control);
// Whether an activation posted for a widget other than W and outside it is
// waiting or under way.
bool ActivationPendingElsewhere(const QWidget* W);
