#include "framework/forms/Control.h"

#include "framework/rtl/CodePage.h"

void TControl::SetCursor(TCursor Value) {
  FCursor = Value;
  if (Value == crHandPoint)
    Widget()->setCursor(Qt::PointingHandCursor);
  else
    Widget()->unsetCursor();
}

void TControl::SetHint(const AnsiString& Value) {
  FHint = Value;
  UpdateToolTip();
}

void TControl::SetShowHint(bool Value) {
  FShowHint = Value;
  UpdateToolTip();
}

void TControl::UpdateToolTip() {
  Widget()->setToolTip(FShowHint ? AnsiToQString(FHint) : QString());
}
