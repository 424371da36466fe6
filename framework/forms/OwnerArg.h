#pragma once
// The owner argument of a control's constructor. Forms built from a stored
// layout pass the parent widget; code passes the owning component. Either
// way the control gets an owner component and an initial parent widget.
#include <QWidget>
#include <type_traits>

#include "framework/rtl/Component.h"

struct TOwnerArg {
  TOwnerArg(std::nullptr_t) {}
  template <class T>
  TOwnerArg(T* P) {
    if constexpr (std::is_base_of_v<TComponent, T>) {
      Owner = P;
      if constexpr (std::is_base_of_v<QWidget, T>)
        Parent = P;
      else
        Parent = dynamic_cast<QWidget*>(P);
    } else {
      static_assert(std::is_base_of_v<QWidget, T>, "an owner is a component or a widget");
      Parent = P;
      // A plain widget: the nearest component among its ancestors owns the control.
      for (QWidget* w = P; w && !Owner; w = w->parentWidget()) Owner = dynamic_cast<TComponent*>(w);
    }
  }
  TComponent* Owner = nullptr;
  QWidget* Parent = nullptr;
};
