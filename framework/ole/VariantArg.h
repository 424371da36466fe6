#pragma once
// A value as it crosses the automation boundary: the kinds and encodings the
// automation convention uses (32-bit integers, booleans with every bit set
// for true, wide texts), independent of how the framework's Variant stores it.
#include <cstdint>
#include <memory>
#include <variant>

#include "framework/ole/WideString.h"
#include "framework/rtl/Variant.h"

class IDispatch;

using VARTYPE = uint16_t;
constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_NULL = 1;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_R8 = 5;
constexpr VARTYPE VT_DATE = 7;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_DISPATCH = 9;
constexpr VARTYPE VT_BOOL = 11;
constexpr VARTYPE VT_I8 = 20;

using VARIANT_BOOL = int16_t;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

class TVariantArg {
 public:
  TVariantArg() = default;  // VT_EMPTY
  static TVariantArg Null();
  static TVariantArg Bool(bool V);
  static TVariantArg Int(int32_t V);
  static TVariantArg Int64(int64_t V);
  static TVariantArg Double(double V);
  static TVariantArg Date(double V);
  static TVariantArg Text(WideString V);
  static TVariantArg Dispatch(std::shared_ptr<IDispatch> V);

  VARTYPE vt() const;
  VARIANT_BOOL boolVal() const { return std::get<TBool>(FValue).Value; }
  int32_t lVal() const { return std::get<int32_t>(FValue); }
  int64_t llVal() const { return std::get<int64_t>(FValue); }
  double dblVal() const { return std::get<double>(FValue); }
  double date() const { return std::get<TDate>(FValue).Value; }
  const WideString& bstrVal() const { return std::get<WideString>(FValue); }
  const std::shared_ptr<IDispatch>& pdispVal() const {
    return std::get<std::shared_ptr<IDispatch>>(FValue);
  }

 private:
  struct TNull {};
  struct TBool {
    VARIANT_BOOL Value;
  };
  struct TDate {
    double Value;
  };
  std::variant<std::monostate, TNull, TBool, int32_t, int64_t, double, TDate, WideString,
               std::shared_ptr<IDispatch>>
      FValue;
};

// The framework's value in automation form: texts are widened, true is -1.
TVariantArg ToVariantArg(const Variant& V);
// And back: wide texts are narrowed ("?" for what Windows-1252 lacks).
Variant FromVariantArg(const TVariantArg& V);
