#pragma once
// Focus bookkeeping in the manner of a classic form: each window remembers
// its focused control; a move inside a window runs DoExit on the controls
// left (innermost first) and DoEnter on the controls entered (outermost
// first). A control and its own children count as one: moving between them
// runs neither for it. Focus going to another window (a popup list, a
// message box, another program) is no exit, and coming back is no entry.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

class TFocusTracker : public QObject {
  Q_OBJECT
 public:
  // Connects the tracker to the application once; needs a QApplication.
  static void Install();
  // The widget that last held the focus inside Window.
  static QWidget* FocusedIn(QWidget* Window);

 private:
  explicit TFocusTracker(QObject* Parent);
  void FocusChanged(QWidget* Old, QWidget* Now);

  QHash<QWidget*, QPointer<QWidget>> FLast;
};
