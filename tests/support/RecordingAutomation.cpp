#include "tests/support/RecordingAutomation.h"

#include <cstdio>
#include <map>
#include <stdexcept>

struct TRecordingAutomation::TState {
  std::vector<TRecordedRequest> Requests;
  std::vector<WideString> Names;
  std::set<AnsiString> Unknown;
  std::set<AnsiString> NoObject;
  std::map<AnsiString, int> FailAfter;  // what -> occurrences left before it fails
  bool CanStart = true;
  int Starts = 0;
  int Attaches = 0;
  int Live = 0;
};

namespace {

using TState = TRecordingAutomation::TState;

AnsiString ArgText(const TVariantArg& A) {
  char text[64];
  switch (A.vt()) {
    case VT_EMPTY:
      return "Empty";
    case VT_NULL:
      return "Null";
    case VT_BOOL:
      return A.boolVal() ? "True" : "False";
    case VT_I4:
      return std::to_string(A.lVal());
    case VT_I8:
      return std::to_string(A.llVal());
    case VT_R8: {
      std::snprintf(text, sizeof text, "%.15g", A.dblVal());
      AnsiString s = text;
      if (s.find_first_of(".en") == AnsiString::npos) s += ".0";
      return s;
    }
    case VT_DATE:
      std::snprintf(text, sizeof text, "Date(%.15g)", A.date());
      return text;
    case VT_BSTR:
      return "\"" + WideToAnsi(A.bstrVal()) + "\"";
    default:
      return "<object>";
  }
}

AnsiString ArgList(const std::vector<TVariantArg>& Args, size_t Count) {
  AnsiString s;
  for (size_t i = 0; i < Count; ++i) s += (i ? ", " : "") + ArgText(Args[i]);
  return s;
}

class TRecordingObject : public IDispatch {
 public:
  TRecordingObject(std::shared_ptr<TState> State, AnsiString Label)
      : FState(std::move(State)), FLabel(std::move(Label)) {
    ++FState->Live;
  }
  ~TRecordingObject() override { --FState->Live; }

  HRESULT GetIDsOfNames(const WideString& Name, LCID, DISPID& DispId) override {
    if (FState->Unknown.count(WideToAnsi(Name))) return DISP_E_UNKNOWNNAME;
    auto& names = FState->Names;
    size_t i = 0;
    while (i < names.size() && names[i] != Name) ++i;
    if (i == names.size()) names.push_back(Name);
    DispId = static_cast<DISPID>(i);
    return S_OK;
  }

  HRESULT Invoke(DISPID DispId, LCID Locale, uint16_t Flags, std::span<const TVariantArg> Args,
                 TVariantArg& Result, WideString& Error) override {
    const TRequestKind kind = (Flags & DISPATCH_PROPERTYPUT) ? TRequestKind::Put
                              : (Flags & DISPATCH_METHOD)    ? TRequestKind::Call
                                                             : TRequestKind::Get;
    TRecordedRequest request{FLabel, WideToAnsi(FState->Names.at(DispId)), kind,
                             std::vector<TVariantArg>(Args.begin(), Args.end()), Locale};
    const AnsiString text = request.Text();
    FState->Requests.push_back(request);
    for (const AnsiString& what : {request.Name, text}) {
      auto fail = FState->FailAfter.find(what);
      if (fail != FState->FailAfter.end() && --fail->second == 0) {
        Error = AnsiToWide("Rejected: " + text);
        return DISP_E_EXCEPTION;
      }
    }
    if (kind == TRequestKind::Put) return S_OK;
    if (kind == TRequestKind::Get && FState->NoObject.count(request.Name)) {
      Result = TVariantArg::Dispatch(nullptr);
      return S_OK;
    }
    AnsiString label = request.Name;
    if (kind == TRequestKind::Call || !Args.empty())
      label += "(" + ArgList(request.Args, request.Args.size()) + ")";
    Result = TVariantArg::Dispatch(std::make_shared<TRecordingObject>(FState, label));
    return S_OK;
  }

 private:
  std::shared_ptr<TState> FState;
  AnsiString FLabel;
};

}  // namespace

AnsiString TRecordedRequest::Text() const {
  const AnsiString member = Object + "." + Name;
  switch (Kind) {
    case TRequestKind::Put:
      return member + (Args.size() > 1 ? "(" + ArgList(Args, Args.size() - 1) + ")" : "") + " = " +
             (Args.empty() ? "?" : ArgText(Args.back()));
    case TRequestKind::Call:
      return member + "(" + ArgList(Args, Args.size()) + ")";
    case TRequestKind::Get:
      break;
  }
  return Args.empty() ? member : member + "(" + ArgList(Args, Args.size()) + ")";
}

TRecordingAutomation::TRecordingAutomation(const AnsiString& ProgID)
    : FState(std::make_shared<TState>()), FProgID(ProgID) {
  FClass = TOleRegistration(RegisterOleClass(ProgID, [state = FState] {
    if (!state->CanStart) throw std::runtime_error("The application is not installed");
    ++state->Starts;
    return std::make_shared<TRecordingObject>(state, "Application");
  }));
}

void TRecordingAutomation::SetRunning(bool Running) {
  if (!Running) {
    FRunning.Revoke();
  } else if (!FRunning.Active()) {
    FRunning = TOleRegistration(RegisterActiveObject(FProgID, [state = FState] {
      ++state->Attaches;
      return std::make_shared<TRecordingObject>(state, "Application");
    }));
  }
}

void TRecordingAutomation::SetCanStart(bool CanStart) { FState->CanStart = CanStart; }
void TRecordingAutomation::UnknownName(const AnsiString& Name) { FState->Unknown.insert(Name); }
void TRecordingAutomation::FailRequest(const AnsiString& What, int Occurrence) {
  FState->FailAfter[What] = Occurrence;
}
void TRecordingAutomation::NoObject(const AnsiString& Name) { FState->NoObject.insert(Name); }
const std::vector<TRecordedRequest>& TRecordingAutomation::Requests() const {
  return FState->Requests;
}
std::vector<AnsiString> TRecordingAutomation::Texts() const {
  std::vector<AnsiString> texts;
  for (const auto& r : FState->Requests) texts.push_back(r.Text());
  return texts;
}
int TRecordingAutomation::Starts() const { return FState->Starts; }
int TRecordingAutomation::Attaches() const { return FState->Attaches; }
int TRecordingAutomation::LiveObjects() const { return FState->Live; }
