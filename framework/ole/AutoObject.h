#pragma once
// Base of the in-process automation objects. Names are matched without
// regard to case, as automation clients expect; a member's DISPID is its
// place in the object's name list. A member reports failure by throwing:
// EOleSysError keeps its code, EVariantError (a value of the wrong kind)
// becomes a type mismatch, anything else an exception with its message.
#include <span>

#include "framework/ole/Dispatch.h"

class TAutoObject : public IDispatch {
 public:
  HRESULT GetIDsOfNames(const WideString& Name, LCID Locale, DISPID& DispId) override;
  HRESULT Invoke(DISPID DispId, LCID Locale, uint16_t Flags, std::span<const TVariantArg> Args,
                 TVariantArg& Result, WideString& Error) override;

 protected:
  virtual std::span<const char* const> MemberNames() const = 0;
  virtual TVariantArg InvokeMember(DISPID DispId, uint16_t Flags,
                                   std::span<const TVariantArg> Args) = 0;

  // Throw DISP_E_BADPARAMCOUNT unless Min <= Args.size() <= Max.
  static void CheckArgCount(std::span<const TVariantArg> Args, size_t Min, size_t Max);
  // The member exists but not for this kind of call (a get of a put-only property).
  [[noreturn]] static void NotSupported();
};
