#include "framework/forms/KeyCodes.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>

#include "framework/rtl/CodePage.h"

int TypedChar(const QKeyEvent* Event) {
  const int key = Event->key();
  // The clipboard shortcuts need Ctrl or Meta, or are special keys (Shift+Insert,
  // the Copy key); looking the bindings up costs more than the rest of a
  // keystroke, so a plain character is spared it.
  const bool mayBeShortcut =
      (Event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) || key >= Qt::Key_Escape;
  if (mayBeShortcut) {
    if (Event->matches(QKeySequence::Copy)) return 3;
    if (Event->matches(QKeySequence::Paste)) return 22;
    if (Event->matches(QKeySequence::Cut)) return 24;
  }
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Delete:
      return -1;  // an editing key, not a character
    default:
      break;
  }
  const Qt::KeyboardModifiers mods = Event->modifiers() & ~Qt::KeypadModifier;
  if (mods == Qt::ControlModifier && key >= Qt::Key_A && key <= Qt::Key_Z)
    return key - Qt::Key_A + 1;
  if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return -1;
  const QString text = Event->text();
  if (text.isEmpty()) return -1;
  const char32_t u = text.at(0).isHighSurrogate() && text.size() > 1
                         ? QChar::surrogateToUcs4(text.at(0), text.at(1))
                         : text.at(0).unicode();
  if (u < 32 || u == 127) return -1;  // other control characters type nothing
  return static_cast<unsigned char>(UnicodeToAnsiChar(u));
}

WORD VirtualKey(const QKeyEvent* Event) {
  const int key = Event->key();
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
    return static_cast<WORD>(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<WORD>(VK_F1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Shift:
      return VK_SHIFT;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Alt:
      return VK_MENU;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_PageUp:
      return VK_PRIOR;
    case Qt::Key_PageDown:
      return VK_NEXT;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Delete:
      return VK_DELETE;
    default:
      return static_cast<WORD>(Event->nativeVirtualKey() & 0xFFFF);
  }
}

TShiftState ShiftStateOf(const QKeyEvent* Event) {
  TShiftState s = 0;
  if (Event->modifiers() & Qt::ShiftModifier) s |= ssShift;
  if (Event->modifiers() & Qt::AltModifier) s |= ssAlt;
  if (Event->modifiers() & Qt::ControlModifier) s |= ssCtrl;
  return s;
}

TShiftState ShiftStateOf(const QMouseEvent* Event) {
  TShiftState s = 0;
  if (Event->modifiers() & Qt::ShiftModifier) s |= ssShift;
  if (Event->modifiers() & Qt::AltModifier) s |= ssAlt;
  if (Event->modifiers() & Qt::ControlModifier) s |= ssCtrl;
  // A press counts its own button as held.
  Qt::MouseButtons held = Event->buttons();
  if (Event->type() != QEvent::MouseButtonRelease) held |= Event->button();
  if (held & Qt::LeftButton) s |= ssLeft;
  if (held & Qt::RightButton) s |= ssRight;
  if (held & Qt::MiddleButton) s |= ssMiddle;
  if (Event->type() == QEvent::MouseButtonDblClick) s |= ssDouble;
  return s;
}

TMouseButton MouseButtonOf(const QMouseEvent* Event) {
  switch (Event->button()) {
    case Qt::RightButton:
      return mbRight;
    case Qt::MiddleButton:
      return mbMiddle;
    default:
      return mbLeft;
  }
}
