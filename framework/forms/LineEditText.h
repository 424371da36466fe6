#pragma once
// Text and selection of a Qt line edit in the terms the controls use: text
// in Windows-1252, a write that changes nothing touches nothing, and the
// selection as a start (the caret when nothing is selected) and a length.
#include "framework/rtl/AnsiString.h"

class QLineEdit;

AnsiString LineEditText(const QLineEdit* Edit);
void SetLineEditText(QLineEdit* Edit, const AnsiString& Value);
int LineEditSelStart(const QLineEdit* Edit);
// Places the caret, clearing the selection.
void SetLineEditSelStart(QLineEdit* Edit, int Value);
int LineEditSelLength(const QLineEdit* Edit);
// Selects from the selection start, within the text.
void SetLineEditSelLength(QLineEdit* Edit, int Value);
