#include "framework/forms/GroupBox.h"

#include "framework/rtl/CodePage.h"

TGroupBox::TGroupBox(TOwnerArg AOwner) : QGroupBox(AOwner.Parent), TWinControl(AOwner.Owner) {
  setFocusPolicy(Qt::NoFocus);
}

AnsiString TGroupBox::Caption() const { return QStringToAnsi(title()); }

void TGroupBox::SetCaption(const AnsiString& Value) { setTitle(AnsiToQString(Value)); }
