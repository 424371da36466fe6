#pragma once
// Text and selection of a Qt line edit in the terms the controls use: text
// in Windows-1252, a write that changes nothing touches nothing, and the
// selection as a start (the caret when nothing is selected) and a length.
#include "framework/rtl/AnsiString.h"

class QLineEdit;

AnsiString LineEditText(const QLineEdit* Edit);
// A text written by code shows its start, the caret before its first character.
void SetLineEditText(QLineEdit* Edit, const AnsiString& Value);
// After the user's edit (a paste, a drop): characters the code page has no
// code for are shown as they are held, "?", the caret kept.
void KeepLineEditAnsi(QLineEdit* Edit);
int LineEditSelStart(const QLineEdit* Edit);
// Places the caret, clearing the selection.
void SetLineEditSelStart(QLineEdit* Edit, int Value);
int LineEditSelLength(const QLineEdit* Edit);
// Selects from the selection start, within the text.
void SetLineEditSelLength(QLineEdit* Edit, int Value);
// The most characters the user can type, 0 for no limit.
int LineEditMaxLength(const QLineEdit* Edit);
void SetLineEditMaxLength(QLineEdit* Edit, int Value);
