#pragma once
// Automation from the client's side. Every request looks the member up by
// name on the object at the time of the call, then invokes it, both with the
// system default locale; a failure of either step, or a request on a Variant
// that holds no automation object, raises EOleSysError.
#include <array>
#include <span>

#include "framework/ole/Dispatch.h"
#include "framework/rtl/Variant.h"

// A reference to the running instance of ProgID; EOleSysError when none runs.
Variant GetActiveOleObject(const AnsiString& ProgID);
// Starts a new instance of ProgID; EOleSysError when the identifier is
// unknown or the server fails to start.
Variant CreateOleObject(const AnsiString& ProgID);

// One request: Kind is DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT or
// DISPATCH_METHOD. A property get whose result is a null object raises
// EOleSysError: a reader expects an object or a value, never "nothing".
Variant OleInvoke(const Variant& Object, const AnsiString& Name, uint16_t Kind,
                  std::span<const Variant> Args);

// A property read, with an index argument or none (Range("A1:A1"), Workbooks).
template <typename... TArgs>
Variant OlePropertyGet(const Variant& Object, const AnsiString& Name, const TArgs&... Args) {
  const std::array<Variant, sizeof...(TArgs)> args{Variant(Args)...};
  return OleInvoke(Object, Name, DISPATCH_PROPERTYGET, args);
}

// A property write of one value.
void OlePropertySet(const Variant& Object, const AnsiString& Name, const Variant& Value);

// A method call whose result is dropped.
template <typename... TArgs>
void OleProcedure(const Variant& Object, const AnsiString& Name, const TArgs&... Args) {
  const std::array<Variant, sizeof...(TArgs)> args{Variant(Args)...};
  OleInvoke(Object, Name, DISPATCH_METHOD, args);
}

// A method call whose result is wanted.
template <typename... TArgs>
Variant OleFunction(const Variant& Object, const AnsiString& Name, const TArgs&... Args) {
  const std::array<Variant, sizeof...(TArgs)> args{Variant(Args)...};
  return OleInvoke(Object, Name, DISPATCH_METHOD, args);
}
