#include "framework/forms/LineEditText.h"

#include <QLineEdit>
#include <algorithm>
#include <climits>

#include "framework/rtl/CodePage.h"

AnsiString LineEditText(const QLineEdit* Edit) { return QStringToAnsi(Edit->text()); }

void SetLineEditText(QLineEdit* Edit, const AnsiString& Value) {
  const QString q = AnsiToQString(Value);
  if (q == Edit->text()) return;
  Edit->setText(q);
  Edit->setCursorPosition(0);
}

void KeepLineEditAnsi(QLineEdit* Edit) {
  const QString shown = Edit->text();
  const QString held = AnsiToQString(QStringToAnsi(shown));
  if (held == shown) return;
  // Characters outside the basic plane are two units shown and one held.
  const auto heldPosition = [&](int Shown) {
    return int(QStringView(shown).left(Shown).toUcs4().size());
  };
  const int start = heldPosition(LineEditSelStart(Edit));
  const int end = heldPosition(LineEditSelStart(Edit) + LineEditSelLength(Edit));
  const bool caretAtStart =
      Edit->hasSelectedText() && Edit->cursorPosition() == Edit->selectionStart();
  Edit->setText(held);
  if (start == end)
    Edit->setCursorPosition(start);
  else if (caretAtStart)
    Edit->setSelection(end, start - end);
  else
    Edit->setSelection(start, end - start);
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

// The toolkit's own default stops typing and cuts written text at 32,767.
int LineEditMaxLength(const QLineEdit* Edit) {
  return Edit->maxLength() == INT_MAX ? 0 : Edit->maxLength();
}

void SetLineEditMaxLength(QLineEdit* Edit, int Value) {
  Edit->setMaxLength(Value > 0 ? Value : INT_MAX);
}
