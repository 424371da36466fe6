#pragma once
// Simulated typing for widget tests: every character of a Windows-1252 text
// as one key click, non-ASCII characters included.
#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <QWidget>

#include "framework/rtl/CodePage.h"

inline void TypeText(QWidget* W, const AnsiString& Text) {
  for (char c : Text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 32 && u < 127) {
      QTest::keyClick(W, c);
    } else {
      const QString s(QChar(static_cast<char16_t>(AnsiCharToUnicode(u))));
      QTest::sendKeyEvent(QTest::Click, W, Qt::Key_unknown, s, Qt::NoModifier);
    }
  }
}

// Text committed by an input method (a dead key, compose), as the platform
// delivers it: no key press, one event with the committed characters.
inline void CommitText(QWidget* W, const QString& Text) {
  QInputMethodEvent event;
  event.setCommitString(Text);
  QApplication::sendEvent(W, &event);
}

// Shows W as the active window, as a user would see it.
inline void ShowActive(QWidget* W) {
  W->show();
  QApplication::setActiveWindow(W);
  (void)QTest::qWaitForWindowActive(W);
}

// Runs the posted requests (such as a posted activation) waiting in the queue.
inline void ProcessPosted() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}
