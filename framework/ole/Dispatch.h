#pragma once
// The dispatch interface every automation object offers: a member is first
// looked up by name, then invoked by the number the look-up gave. Both steps
// report failure by code, as the automation convention does.
#include <cstdint>
#include <span>

#include "framework/ole/VariantArg.h"
#include "framework/ole/WideString.h"
#include "framework/rtl/AnsiString.h"

using HRESULT = int32_t;
using DISPID = int32_t;
using LCID = uint32_t;

constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

// Invocation kinds.
constexpr uint16_t DISPATCH_METHOD = 1;
constexpr uint16_t DISPATCH_PROPERTYGET = 2;
constexpr uint16_t DISPATCH_PROPERTYPUT = 4;

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);
constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009);
constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000B);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
constexpr HRESULT MK_E_UNAVAILABLE = static_cast<HRESULT>(0x800401E3);
constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3);
constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = static_cast<HRESULT>(0x80080005);
constexpr HRESULT RPC_E_DISCONNECTED = static_cast<HRESULT>(0x80010108);

inline bool FAILED(HRESULT Code) { return Code < 0; }

// The platform's text for a failure code.
AnsiString OleErrorText(HRESULT Code);

class IDispatch {
 public:
  virtual ~IDispatch() = default;
  // DISP_E_UNKNOWNNAME when the object has no member of that name.
  virtual HRESULT GetIDsOfNames(const WideString& Name, LCID Locale, DISPID& DispId) = 0;
  // Args in call order; for a property put the value comes last. On
  // DISP_E_EXCEPTION, Error holds the object's description of what went wrong.
  virtual HRESULT Invoke(DISPID DispId, LCID Locale, uint16_t Flags,
                         std::span<const TVariantArg> Args, TVariantArg& Result,
                         WideString& Error) = 0;
};
