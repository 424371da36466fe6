#pragma once
// No exception may cross Qt's event loop: every event handler of the library
// runs inside Guarded, which hands an escaping error to the application's
// default error display, as the framework does for its handlers.
#include <exception>
#include <utility>

#include "framework/rtl/Exceptions.h"

// Shows E with Application->ShowException (or a plain error box when no
// application object exists) and resets the floating-point status.
void HandleException(const Exception& E);

template <class F>
void Guarded(F&& Handler) noexcept {
  try {
    std::forward<F>(Handler)();
  } catch (const Exception& e) {
    HandleException(e);
  } catch (const std::exception& e) {
    HandleException(Exception(e.what()));
  } catch (...) {
    HandleException(Exception("Unknown error"));
  }
}
