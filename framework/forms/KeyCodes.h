#pragma once
// Keys as the controls see them: typed characters as Windows-1252 codes
// (control characters included) and released keys as virtual-key codes.
#include <cstdint>

class QKeyEvent;
class QMouseEvent;

using WORD = std::uint16_t;

// The modifier keys, the mouse buttons held and a double click.
enum TShiftFlag : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
using TShiftState = unsigned;  // a set of TShiftFlag

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Virtual-key codes the library refers to.
enum : WORD {
  VK_BACK = 8,
  VK_TAB = 9,
  VK_RETURN = 13,
  VK_SHIFT = 16,
  VK_CONTROL = 17,
  VK_MENU = 18,
  VK_ESCAPE = 27,
  VK_SPACE = 32,
  VK_PRIOR = 33,
  VK_NEXT = 34,
  VK_END = 35,
  VK_HOME = 36,
  VK_LEFT = 37,
  VK_UP = 38,
  VK_RIGHT = 39,
  VK_DOWN = 40,
  VK_INSERT = 45,
  VK_DELETE = 46,
  VK_F1 = 112
};

// The character a key press types, or -1 when it types none. The clipboard
// shortcuts give 3 (copy), 22 (paste) and 24 (cut), other Ctrl+letter
// combinations the control code of the letter, Backspace 8, Tab 9, Enter 13
// and Escape 27; other characters their Windows-1252 code ('?' for none).
int TypedChar(const QKeyEvent* Event);

WORD VirtualKey(const QKeyEvent* Event);
TShiftState ShiftStateOf(const QKeyEvent* Event);
// The modifiers and the buttons held during a mouse event; ssDouble for the
// press of a double click.
TShiftState ShiftStateOf(const QMouseEvent* Event);
// The button of a press or release; mbLeft for any other.
TMouseButton MouseButtonOf(const QMouseEvent* Event);
