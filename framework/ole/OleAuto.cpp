#include "framework/ole/OleAuto.h"

#include <vector>

#include "framework/ole/OleRegistration.h"
#include "framework/rtl/Exceptions.h"

namespace {

[[noreturn]] void Fail(HRESULT Code, const AnsiString& Detail = AnsiString()) {
  AnsiString message = OleErrorText(Code);
  if (!Detail.empty()) message += ": " + Detail;
  throw EOleSysError(message, Code);
}

// A server is our own code, in process: whatever it throws or returns as
// "nothing" is turned into the failure a client expects.
Variant Start(const TOleFactory& Factory, HRESULT Missing, const AnsiString& ProgID) {
  if (!Factory) Fail(Missing, ProgID);
  std::shared_ptr<IDispatch> object;
  try {
    object = Factory();
  } catch (const EOleSysError&) {
    throw;
  } catch (const std::exception& e) {
    Fail(CO_E_SERVER_EXEC_FAILURE, ProgID + ": " + e.what());
  }
  if (!object) Fail(CO_E_SERVER_EXEC_FAILURE, ProgID);
  return Variant(std::move(object));
}

}  // namespace

Variant GetActiveOleObject(const AnsiString& ProgID) {
  return Start(FindActiveObject(ProgID), MK_E_UNAVAILABLE, ProgID);
}

Variant CreateOleObject(const AnsiString& ProgID) {
  return Start(FindOleClass(ProgID), CO_E_CLASSSTRING, ProgID);
}

Variant OleInvoke(const Variant& Object, const AnsiString& Name, uint16_t Kind,
                  std::span<const Variant> Args) {
  const std::shared_ptr<IDispatch> target =
      Object.VarType() == varDispatch ? Object.AsDispatch() : nullptr;
  if (!target) Fail(E_POINTER, "Variant does not reference an automation object (" + Name + ")");

  DISPID id = 0;
  HRESULT hr;
  try {
    hr = target->GetIDsOfNames(AnsiToWide(Name), LOCALE_SYSTEM_DEFAULT, id);
  } catch (const std::exception& e) {
    Fail(DISP_E_EXCEPTION, Name + ": " + e.what());
  }
  if (FAILED(hr)) Fail(hr, Name);

  // Small argument lists stay on the stack: every cell of an export passes here.
  std::array<TVariantArg, 2> inline_args;
  std::vector<TVariantArg> more_args;
  std::span<TVariantArg> args;
  if (Args.size() <= inline_args.size()) {
    args = std::span(inline_args.data(), Args.size());
  } else {
    more_args.resize(Args.size());
    args = more_args;
  }
  for (size_t i = 0; i < Args.size(); ++i) args[i] = ToVariantArg(Args[i]);

  TVariantArg result;
  WideString error;
  try {
    hr = target->Invoke(id, LOCALE_SYSTEM_DEFAULT, Kind, args, result, error);
  } catch (const std::exception& e) {
    Fail(DISP_E_EXCEPTION, Name + ": " + e.what());
  }
  if (FAILED(hr)) {
    // The object's own description says more than the generic text.
    if (hr == DISP_E_EXCEPTION && !error.empty()) throw EOleSysError(WideToAnsi(error), hr);
    Fail(hr, error.empty() ? Name : Name + ": " + WideToAnsi(error));
  }
  if (Kind == DISPATCH_PROPERTYGET && result.vt() == VT_DISPATCH && !result.pdispVal())
    Fail(E_POINTER, Name + " gave no object");
  return FromVariantArg(result);
}

void OlePropertySet(const Variant& Object, const AnsiString& Name, const Variant& Value) {
  OleInvoke(Object, Name, DISPATCH_PROPERTYPUT, std::span(&Value, 1));
}
