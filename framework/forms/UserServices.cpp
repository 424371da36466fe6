#include "framework/forms/UserServices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>
#include <cstdio>

#include "framework/rtl/CodePage.h"

namespace {

// Breaks every word wider than Width into pieces that fit; the box wraps the
// rest at the spaces.
QString BreakLongWords(const QString& Text, const QFontMetrics& Metrics, int Width) {
  QString out;
  QString word;
  const auto flush = [&] {
    while (Metrics.horizontalAdvance(word) > Width) {
      qsizetype fit = 1;
      while (fit < word.size() && Metrics.horizontalAdvance(word.left(fit + 1)) <= Width) ++fit;
      if (fit < word.size() && word.at(fit).isLowSurrogate()) --fit;
      if (fit < 1) fit = 1;
      out += word.left(fit);
      out += QLatin1Char('\n');
      word.remove(0, fit);
    }
    out += word;
    word.clear();
  };
  for (const QChar ch : Text) {
    if (ch.isSpace()) {
      flush();
      out += ch;
    } else {
      word += ch;
    }
  }
  flush();
  return out;
}

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
    const auto box = CreateMessageBox(Owner, Text, Caption, Flags);
    return box->exec() == QMessageBox::Cancel ? IDCANCEL : IDOK;
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

std::unique_ptr<QMessageBox> CreateMessageBox(QWidget* Owner, const AnsiString& Text,
                                              const AnsiString& Caption, unsigned Flags) {
  auto box = std::make_unique<QMessageBox>(Owner ? Owner->window() : QApplication::activeWindow());
  box->setWindowTitle(AnsiToQString(Caption));
  // A message may carry the user's data: it is never read as markup.
  box->setTextFormat(Qt::PlainText);
  // The box itself keeps a line within about half the screen; a longer word
  // would widen it past the screen's edge.
  const QScreen* screen = box->screen() ? box->screen() : QGuiApplication::primaryScreen();
  const int width = screen ? std::min(screen->availableGeometry().width() / 2, 500) : 500;
  box->setText(BreakLongWords(AnsiToQString(Text), QFontMetrics(box->font()), width - 40));
  const unsigned icon = Flags & 0xF0;
  if (icon == MB_ICONSTOP) box->setIcon(QMessageBox::Critical);
  if (icon == MB_ICONWARNING) box->setIcon(QMessageBox::Warning);
  if ((Flags & 0xF) == MB_OKCANCEL) {
    box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
  } else {
    box->setStandardButtons(QMessageBox::Ok);
  }
  return box;
}

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
