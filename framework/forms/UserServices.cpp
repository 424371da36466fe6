#include "framework/forms/UserServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>
#include <cstdio>

#include "framework/rtl/CodePage.h"

namespace {

class TQtUserServices : public TUserServices {
 public:
  int MessageBox(QWidget* Owner, const AnsiString& Text, const AnsiString& Caption,
                 unsigned Flags) override {
    // A program without a widget application (a command-line tool using the
    // runtime) cannot show a box: the message goes to the error output and
    // counts as confirmed.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
      std::fprintf(stderr, "%s: %s\n", AnsiToUtf8(Caption).c_str(), AnsiToUtf8(Text).c_str());
      return IDOK;
    }
    QMessageBox box(Owner ? Owner->window() : QApplication::activeWindow());
    box.setWindowTitle(AnsiToQString(Caption));
    box.setText(AnsiToQString(Text));
    const unsigned icon = Flags & 0xF0;
    if (icon == MB_ICONSTOP) box.setIcon(QMessageBox::Critical);
    if (icon == MB_ICONWARNING) box.setIcon(QMessageBox::Warning);
    if ((Flags & 0xF) == MB_OKCANCEL) {
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    } else {
      box.setStandardButtons(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Cancel ? IDCANCEL : IDOK;
  }
  // The beep needs the platform of a GUI application; without one it stays silent.
  void Beep(unsigned) override {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) QApplication::beep();
  }
  bool OpenDocument(const AnsiString& Path) override {
    return QDesktopServices::openUrl(
        QUrl::fromLocalFile(QFileInfo(AnsiToQString(Path)).absoluteFilePath()));
  }
};

TUserServices* g_services = nullptr;

}  // namespace

TUserServices& UserServices() {
  static TQtUserServices qt;
  return g_services ? *g_services : qt;
}

TUserServices* SetUserServices(TUserServices* Services) {
  TUserServices* previous = g_services;
  g_services = Services;
  return previous;
}

void MessageBeep(unsigned Type) { UserServices().Beep(Type); }

int MessageBoxA(QWidget* Owner, const AnsiString& Text, const AnsiString& Caption, unsigned Flags) {
  return UserServices().MessageBox(Owner, Text, Caption, Flags);
}
