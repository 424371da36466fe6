#include "framework/forms/Application.h"

#include <QApplication>
#include <QEvent>

#include "framework/forms/Form.h"
#include "framework/forms/HandlerGuard.h"
#include "framework/forms/UserServices.h"
#include "framework/rtl/Extended.h"
#include "framework/rtl/FormatSettings.h"

TApplication* Application = nullptr;

// Reloads every regional setting when Qt reports that the locale changed.
class TApplication::TLocaleWatcher : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Watched == qApp && Event->type() == QEvent::LocaleChange) GetLocaleFormatSettings();
    return false;
  }
};

TApplication::TApplication() : TComponent(nullptr) {
  Application = this;
  if (qApp) {
    FWatcher = new TLocaleWatcher(qApp);
    qApp->installEventFilter(FWatcher);
  }
}

TApplication::~TApplication() {
  delete FWatcher;
  // The forms go before the application pointer does.
  while (ComponentCount() > 0) delete Components(ComponentCount() - 1);
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() {
  GetLocaleFormatSettings();
  Extended::Reset();
}

// The title stays ours: given to the toolkit as the display name it would be
// appended to the caption of every window, message boxes included.
void TApplication::SetTitle(const AnsiString& Value) { FTitle = Value; }

void TApplication::Run() {
  if (!FMainForm || FTerminated) return;
  FMainForm->show();
  if (!FTerminated) qApp->exec();
}

void TApplication::Terminate() {
  FTerminated = true;
  QCoreApplication::quit();
}

void TApplication::ProcessMessages() { QCoreApplication::processEvents(); }

AnsiString ErrorDisplayText(const AnsiString& Message) {
  if (!Message.empty() && static_cast<unsigned char>(Message.back()) > '.') return Message + ".";
  return Message;
}

void TApplication::ShowException(const Exception& E) {
  MessageBoxA(FMainForm, ErrorDisplayText(E.Message), FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const AnsiString& Text, const AnsiString& Caption, unsigned Flags) {
  return MessageBoxA(FMainForm, Text, Caption, Flags);
}

void HandleException(const Exception& E) {
  Extended::Reset();
  if (Application)
    Application->ShowException(E);
  else
    MessageBoxA(nullptr, ErrorDisplayText(E.Message), "", MB_OK | MB_ICONSTOP);
}
