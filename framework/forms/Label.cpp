#include "framework/forms/Label.h"

#include <QEvent>

#include "framework/rtl/CodePage.h"

AnsiString TLabel::Caption() const { return QStringToAnsi(text()); }

void TLabel::SetCaption(const AnsiString& Value) {
  setText(AnsiToQString(Value));
  AdjustBounds();
}

void TLabel::SetAutoSize(bool Value) {
  FAutoSize = Value;
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!FAutoSize) return;
  const QFontMetrics metrics(font());
  resize(metrics.horizontalAdvance(text()), std::max(height(), metrics.height()));
}

void TLabel::changeEvent(QEvent* Event) {
  QLabel::changeEvent(Event);
  if (Event->type() == QEvent::FontChange) AdjustBounds();
}
