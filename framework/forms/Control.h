#pragma once
// TControl: a component with a widget on screen. Concrete controls derive
// from a Qt widget and from TControl (or TWinControl) and return themselves
// from Widget().
#include <QWidget>

#include "framework/rtl/AnsiString.h"
#include "framework/rtl/Component.h"

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
};
