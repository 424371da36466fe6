#include "framework/forms/LineEditText.h"

#include <QLineEdit>
#include <algorithm>

#include "framework/rtl/CodePage.h"

AnsiString LineEditText(const QLineEdit* Edit) { return QStringToAnsi(Edit->text()); }

void SetLineEditText(QLineEdit* Edit, const AnsiString& Value) {
  const QString q = AnsiToQString(Value);
  if (q != Edit->text()) Edit->setText(q);
}

int LineEditSelStart(const QLineEdit* Edit) {
  return Edit->hasSelectedText() ? Edit->selectionStart() : Edit->cursorPosition();
}

void SetLineEditSelStart(QLineEdit* Edit, int Value) {
  Edit->setCursorPosition(std::clamp(Value, 0, int(Edit->text().size())));
}

int LineEditSelLength(const QLineEdit* Edit) {
  return Edit->hasSelectedText() ? int(Edit->selectionLength()) : 0;
}

void SetLineEditSelLength(QLineEdit* Edit, int Value) {
  const int start = LineEditSelStart(Edit);
  const int length = std::clamp(Value, 0, int(Edit->text().size()) - start);
  if (length == 0)
    Edit->setCursorPosition(start);
  else
    Edit->setSelection(start, length);
}
