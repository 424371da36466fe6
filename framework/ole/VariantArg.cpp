#include "framework/ole/VariantArg.h"

TVariantArg TVariantArg::Null() {
  TVariantArg v;
  v.FValue = TNull{};
  return v;
}

TVariantArg TVariantArg::Bool(bool V) {
  TVariantArg v;
  v.FValue = TBool{V ? VARIANT_TRUE : VARIANT_FALSE};
  return v;
}

TVariantArg TVariantArg::Int(int32_t V) {
  TVariantArg v;
  v.FValue = V;
  return v;
}

TVariantArg TVariantArg::Int64(int64_t V) {
  TVariantArg v;
  v.FValue = V;
  return v;
}

TVariantArg TVariantArg::Double(double V) {
  TVariantArg v;
  v.FValue = V;
  return v;
}

TVariantArg TVariantArg::Date(double V) {
  TVariantArg v;
  v.FValue = TDate{V};
  return v;
}

TVariantArg TVariantArg::Text(WideString V) {
  TVariantArg v;
  v.FValue = std::move(V);
  return v;
}

TVariantArg TVariantArg::Dispatch(std::shared_ptr<IDispatch> V) {
  TVariantArg v;
  v.FValue = std::move(V);
  return v;
}

VARTYPE TVariantArg::vt() const {
  static constexpr VARTYPE kTypes[] = {VT_EMPTY, VT_NULL, VT_BOOL, VT_I4,      VT_I8,
                                       VT_R8,    VT_DATE, VT_BSTR, VT_DISPATCH};
  return kTypes[FValue.index()];
}

TVariantArg ToVariantArg(const Variant& V) {
  switch (V.VarType()) {
    case varEmpty:
      return {};
    case varNull:
      return TVariantArg::Null();
    case varBoolean:
      return TVariantArg::Bool(V.AsBoolean());
    case varInteger:
      return TVariantArg::Int(V.AsInteger());
    case varInt64:
      return TVariantArg::Int64(V.AsInt64());
    case varDouble:
      return TVariantArg::Double(V.AsDouble());
    case varDate:
      return TVariantArg::Date(V.AsDate());
    case varString:
      return TVariantArg::Text(AnsiToWide(V.AsString()));
    case varDispatch:
      return TVariantArg::Dispatch(V.AsDispatch());
  }
  return {};
}

Variant FromVariantArg(const TVariantArg& V) {
  switch (V.vt()) {
    case VT_NULL:
      return Variant::Null();
    case VT_BOOL:
      return Variant(V.boolVal() != VARIANT_FALSE);
    case VT_I4:
      return Variant(static_cast<int>(V.lVal()));
    case VT_I8:
      return Variant(static_cast<long long>(V.llVal()));
    case VT_R8:
      return Variant(V.dblVal());
    case VT_DATE:
      return Variant::FromDate(V.date());
    case VT_BSTR:
      return Variant(WideToAnsi(V.bstrVal()));
    case VT_DISPATCH:
      return Variant(V.pdispVal());
    default:
      return Variant();
  }
}
