#pragma once
// The framework's variant: a value of one of a few kinds, unassigned by
// default. Bounds of the input controls, field values and automation objects
// all travel in it.
#include <cstdint>
#include <memory>
#include <variant>

#include "framework/rtl/AnsiString.h"
#include "framework/rtl/DateUtils.h"

class IDispatch;

enum TVarType {
  varEmpty,
  varNull,
  varBoolean,
  varInteger,
  varInt64,
  varDouble,
  varDate,
  varString,
  varDispatch
};

class Variant {
 public:
  Variant() = default;  // unassigned
  Variant(bool V) : FValue(V) {}
  Variant(int V) : FValue(V) {}
  Variant(long long V) : FValue(static_cast<int64_t>(V)) {}
  Variant(long V) : FValue(static_cast<int64_t>(V)) {}
  Variant(double V) : FValue(V) {}
  Variant(long double V) : FValue(static_cast<double>(V)) {}
  Variant(const AnsiString& V) : FValue(V) {}
  Variant(AnsiString&& V) : FValue(std::move(V)) {}
  Variant(const char* V) : FValue(AnsiString(V)) {}
  Variant(std::shared_ptr<IDispatch> V) : FValue(std::move(V)) {}

  static Variant Null();
  static Variant FromDate(TDateTime V);

  TVarType VarType() const;
  bool IsEmpty() const { return VarType() == varEmpty; }
  bool IsNull() const { return VarType() == varNull; }
  bool IsEmptyOrNull() const { return IsEmpty() || IsNull(); }
  void Clear() { FValue = std::monostate(); }

  // Conversions as the framework makes them. Unassigned gives "", 0 and 0.0;
  // null and unreadable text raise EVariantError.
  AnsiString AsString() const;
  int AsInteger() const;
  int64_t AsInt64() const;
  double AsDouble() const;
  TDateTime AsDate() const;
  bool AsBoolean() const;
  std::shared_ptr<IDispatch> AsDispatch() const;

  operator AnsiString() const { return AsString(); }

  // Same kind and same value (numbers of different kinds compare by value).
  bool operator==(const Variant& Other) const;

 private:
  struct TDate {
    TDateTime Value;
    bool operator==(const TDate& o) const { return Value == o.Value; }
  };
  struct TNull {
    bool operator==(const TNull&) const { return true; }
  };
  using Storage = std::variant<std::monostate, TNull, bool, int, int64_t, double, TDate, AnsiString,
                               std::shared_ptr<IDispatch>>;
  [[noreturn]] void CastError(const char* Target) const;
  static const char* TypeName(TVarType T);
  Storage FValue;
};
