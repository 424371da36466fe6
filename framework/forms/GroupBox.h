#pragma once
// TGroupBox: a captioned frame around other controls. It takes no focus of
// its own, but the focus entering or leaving its children enters or leaves it.
#include <QGroupBox>

#include "framework/forms/OwnerArg.h"
#include "framework/forms/WinControl.h"

class TGroupBox : public QGroupBox, public TWinControl {
  Q_OBJECT
 public:
  explicit TGroupBox(TOwnerArg AOwner);
  QWidget* Widget() override { return this; }
  AnsiString Caption() const;
  void SetCaption(const AnsiString& Value);
};
