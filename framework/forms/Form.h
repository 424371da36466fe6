#pragma once
// TForm: a top-level window built from a stored layout. It owns every
// control placed on it, raises OnShow when shown by code (not when restored
// from the taskbar), and closing the main form ends the application.
#include <QWidget>
#include <vector>

#include "framework/forms/OwnerArg.h"
#include "framework/forms/PublishedMethod.h"
#include "framework/forms/WinControl.h"

class TForm : public QWidget, public TWinControl {
  Q_OBJECT
 public:
  explicit TForm(TOwnerArg AOwner);

  QWidget* Widget() override { return this; }

  AnsiString Caption() const;
  void SetCaption(const AnsiString& Value);
  // The control that holds (or last held) the focus in this window.
  TWinControl* ActiveControl() const;
  void Close();

  TNotifyEvent OnShow;

  bool BindEvent(const AnsiString& Event, const TPublishedMethod& Method) override;

 protected:
  // Called once the stored layout is built. Every component placed on the
  // form becomes the form's own under its object name; the stored values Qt
  // has no property for are applied from the widgets' dynamic properties:
  // "Left" and "Top" of the form, "TabOrder" and "TabStop" of each control,
  // and the events (a property named "On" plus the happening) bound to the
  // published method the value names: each control binds its own events. The
  // keyboard order follows TabOrder within each parent, parents before their
  // children. Throws EComponentError for a method the form does not publish
  // and for an event the control does not have.
  void Loaded();
  // The handler methods the stored layout may name.
  virtual std::vector<TPublishedMethod> PublishedMethods() { return {}; }
  virtual void DoShow();

  void showEvent(QShowEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;
};

// The form a control sits on, or nullptr.
TForm* GetParentForm(QWidget* Control);
