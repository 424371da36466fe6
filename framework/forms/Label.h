#pragma once
// TLabel: a caption on a form; it never takes the focus.
#include <QLabel>

#include "framework/forms/Control.h"
#include "framework/forms/OwnerArg.h"

class TLabel : public QLabel, public TControl {
  Q_OBJECT
 public:
  explicit TLabel(TOwnerArg AOwner) : QLabel(AOwner.Parent), TControl(AOwner.Owner) {}
  QWidget* Widget() override { return this; }
  AnsiString Caption() const;
  void SetCaption(const AnsiString& Value);
};
