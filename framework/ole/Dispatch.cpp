#include "framework/ole/Dispatch.h"

#include <cstdio>

AnsiString OleErrorText(HRESULT Code) {
  switch (Code) {
    case E_POINTER:
      return "Invalid pointer";
    case E_FAIL:
      return "Unspecified error";
    case E_INVALIDARG:
      return "The parameter is incorrect";
    case DISP_E_MEMBERNOTFOUND:
      return "Member not found";
    case DISP_E_TYPEMISMATCH:
      return "Type mismatch";
    case DISP_E_UNKNOWNNAME:
      return "Unknown name";
    case DISP_E_EXCEPTION:
      return "Exception occurred";
    case DISP_E_BADINDEX:
      return "Invalid index";
    case DISP_E_BADPARAMCOUNT:
      return "Invalid number of parameters";
    case MK_E_UNAVAILABLE:
      return "Operation unavailable";
    case CO_E_CLASSSTRING:
      return "Invalid class string";
    case CO_E_SERVER_EXEC_FAILURE:
      return "Server execution failed";
    case RPC_E_DISCONNECTED:
      return "The object invoked has disconnected from its clients";
  }
  char text[40];
  std::snprintf(text, sizeof text, "OLE error %08X", static_cast<unsigned>(Code));
  return text;
}
