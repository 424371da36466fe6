#include "framework/ole/AutoObject.h"

#include "framework/rtl/Exceptions.h"

namespace {

bool SameNameIgnoringCase(const WideString& A, const char* B) {
  if (A.empty() || (A[0] | 0x20) != (B[0] | 0x20)) return false;  // most names differ at once
  size_t i = 0;
  for (; i < A.size() && B[i]; ++i) {
    char16_t a = A[i];
    char16_t b = static_cast<unsigned char>(B[i]);
    if (a >= u'a' && a <= u'z') a -= 32;
    if (b >= u'a' && b <= u'z') b -= 32;
    if (a != b) return false;
  }
  return i == A.size() && !B[i];
}

}  // namespace

HRESULT TAutoObject::GetIDsOfNames(const WideString& Name, LCID, DISPID& DispId) {
  const auto names = MemberNames();
  for (size_t i = 0; i < names.size(); ++i) {
    if (SameNameIgnoringCase(Name, names[i])) {
      DispId = static_cast<DISPID>(i);
      return S_OK;
    }
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT TAutoObject::Invoke(DISPID DispId, LCID, uint16_t Flags, std::span<const TVariantArg> Args,
                            TVariantArg& Result, WideString& Error) {
  if (DispId < 0 || static_cast<size_t>(DispId) >= MemberNames().size())
    return DISP_E_MEMBERNOTFOUND;
  try {
    Result = InvokeMember(DispId, Flags, Args);
    return S_OK;
  } catch (const EOleSysError& e) {
    Error = AnsiToWide(e.Message);
    return e.ErrorCode < 0 ? static_cast<HRESULT>(e.ErrorCode) : DISP_E_EXCEPTION;
  } catch (const EVariantError& e) {
    Error = AnsiToWide(e.Message);
    return DISP_E_TYPEMISMATCH;
  } catch (const std::exception& e) {
    Error = AnsiToWide(e.what());
    return DISP_E_EXCEPTION;
  }
}

void TAutoObject::CheckArgCount(std::span<const TVariantArg> Args, size_t Min, size_t Max) {
  if (Args.size() < Min || Args.size() > Max)
    throw EOleSysError(OleErrorText(DISP_E_BADPARAMCOUNT), DISP_E_BADPARAMCOUNT);
}

void TAutoObject::NotSupported() {
  throw EOleSysError(OleErrorText(DISP_E_MEMBERNOTFOUND), DISP_E_MEMBERNOTFOUND);
}
