#pragma once
// TApplication: the application object. It owns the forms, runs the event
// loop until the main form closes, shows escaping errors with its title as
// caption, and reloads the regional settings when the desktop changes them.
#include <QObject>
#include <QPointer>

#include "framework/rtl/Component.h"
#include "framework/rtl/Exceptions.h"

class TForm;
class QWidget;

class TApplication : public TComponent {
 public:
  // Needs a QApplication; becomes the process-wide Application.
  TApplication();
  ~TApplication() override;

  void Initialize();
  const AnsiString& Title() const { return FTitle; }
  void SetTitle(const AnsiString& Value);

  // Creates a form owned by the application; the first one becomes the main form.
  template <class T>
  void CreateForm(T*& Reference) {
    Reference = new T(this);
    if (!FMainForm) FMainForm = Reference;
  }
  TForm* MainForm() const { return FMainForm; }

  // Shows the main form and runs the event loop until it closes.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  void ProcessMessages();

  // The default error display: the message with a full stop added when its
  // last character sorts after ".", the title as caption, a stop icon and OK.
  void ShowException(const Exception& E);
  // A modal box owned by the application's window; returns the button.
  int MessageBox(const AnsiString& Text, const AnsiString& Caption, unsigned Flags);

 private:
  class TLocaleWatcher;
  AnsiString FTitle;
  TForm* FMainForm = nullptr;
  bool FTerminated = false;
  TLocaleWatcher* FWatcher = nullptr;
};

extern TApplication* Application;

// The text the default error display shows for Message.
AnsiString ErrorDisplayText(const AnsiString& Message);
