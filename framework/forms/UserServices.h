#pragma once
// What the library asks of the desktop: message boxes, the default error
// display, the beep and opening a document. One service with a Qt
// implementation; tests install a recording one so nothing ever blocks on a
// modal dialog and every test can check what the user saw or heard.
#include <memory>

#include "framework/rtl/AnsiString.h"

class QMessageBox;
class QWidget;

// Message box flags and results, with the values the controls were written against.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr unsigned MB_SIMPLEBEEP = 0xFFFFFFFF;

class TUserServices {
 public:
  virtual ~TUserServices() = default;
  // A modal box owned by Owner's window (or the application's); returns the button.
  virtual int MessageBox(QWidget* Owner, const AnsiString& Text, const AnsiString& Caption,
                         unsigned Flags) = 0;
  virtual void Beep(unsigned Type) = 0;
  // Opens a file with the desktop's application for it; false when that fails.
  virtual bool OpenDocument(const AnsiString& Path) = 0;
};

// The installed service; the Qt one unless a test installed another.
TUserServices& UserServices();
// Installs Services (not owned); nullptr restores the Qt implementation.
// Returns the service installed before.
TUserServices* SetUserServices(TUserServices* Services);

// The platform calls the controls use.
void MessageBeep(unsigned Type);
int MessageBoxA(QWidget* Owner, const AnsiString& Text, const AnsiString& Caption, unsigned Flags);

// The box the desktop implementation shows for MessageBoxA, not yet shown:
// exactly the caption given, the text as plain text, wrapped (inside over-long
// words too) so that the box fits the screen.
std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* Owner, const AnsiString& Text,
                                              const AnsiString& Caption, unsigned Flags);
