#pragma once
// A handler method a form publishes under its name, so that a stored layout
// can name it for an event. The handler is kept with its own type; the
// control whose event is bound asks for the type that event needs.
#include <any>
#include <functional>
#include <utility>

#include "framework/rtl/AnsiString.h"
#include "framework/rtl/Exceptions.h"

struct TPublishedMethod {
  template <class F>
  TPublishedMethod(AnsiString AName, F AHandler)
      : Name(std::move(AName)), Handler(std::move(AHandler)) {}

  AnsiString Name;
  std::any Handler;

  // Stores the handler in Event; a handler of another type does not fit the
  // event, which is as if the form had no method of that name.
  template <class Event>
  void BindTo(Event& Target) const {
    const auto* h = std::any_cast<Event>(&Handler);
    if (!h) throw EComponentError("Method '" + Name + "' not found");
    Target = *h;
  }
};
