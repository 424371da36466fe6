#pragma once
// TLabel: a caption on a form; it never takes the focus. With AutoSize (the
// default) its width follows its text in the font it is drawn with, so a
// caption designed for one font is never cut off in another.
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
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  // Fits the width to the caption when AutoSize is on (the left edge stays).
  void AdjustBounds();

 protected:
  void changeEvent(QEvent* Event) override;

 private:
  bool FAutoSize = true;
};
