#pragma once
// TForm: a top-level window built from a stored layout. It owns every
// control placed on it, raises OnShow when shown by code (not when restored
// from the taskbar), and closing the main form ends the application.
#include <QWidget>

#include "framework/forms/OwnerArg.h"
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

 protected:
  // Called once the stored layout is built: every component placed on the
  // form becomes the form's own under its object name, and the stored
  // position (dynamic properties "Left" and "Top") is applied.
  void Loaded();
  virtual void DoShow();

  void showEvent(QShowEvent* Event) override;
  void closeEvent(QCloseEvent* Event) override;
};

// The form a control sits on, or nullptr.
TForm* GetParentForm(QWidget* Control);
