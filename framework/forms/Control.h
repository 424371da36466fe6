#pragma once
// TControl: a component with a widget on screen. Concrete controls derive
// from a Qt widget and from TControl (or TWinControl) and return themselves
// from Widget().
#include <QWidget>

#include "framework/rtl/AnsiString.h"
#include "framework/rtl/Component.h"

// The mouse pointer shown over a control, by the framework's numbers.
enum TCursor { crDefault = 0, crHandPoint = -21 };

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner) : TComponent(AOwner) {}

  virtual QWidget* Widget() = 0;
  const QWidget* Widget() const { return const_cast<TControl*>(this)->Widget(); }

  int Left() const { return Widget()->x(); }
  int Top() const { return Widget()->y(); }
  int Width() const { return Widget()->width(); }
  int Height() const { return Widget()->height(); }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    Widget()->setGeometry(ALeft, ATop, AWidth, AHeight);
  }
  bool Visible() const { return Widget()->isVisible(); }
  void SetVisible(bool Value) { Widget()->setVisible(Value); }
  bool Enabled() const { return Widget()->isEnabled(); }
  void SetEnabled(bool Value) { Widget()->setEnabled(Value); }
  // The control's window handle stands for the widget.
  QWidget* Handle() { return Widget(); }

  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The hint shows as the control's tooltip while ShowHint is on.
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);

 private:
  void UpdateToolTip();
  TCursor FCursor = crDefault;
  AnsiString FHint;
  bool FShowHint = false;
};
