#include "framework/forms/Label.h"

#include "framework/rtl/CodePage.h"

AnsiString TLabel::Caption() const { return QStringToAnsi(text()); }

void TLabel::SetCaption(const AnsiString& Value) { setText(AnsiToQString(Value)); }
