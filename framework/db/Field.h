#pragma once
// TField: one column of a data set as the controls see it, read and written
// through the data set's current record.
#include "framework/rtl/AnsiString.h"
#include "framework/rtl/Component.h"
#include "framework/rtl/Variant.h"

class TDataSet;

enum TFieldKind { fkData, fkCalculated, fkLookup };

// ftString is Windows-1252 text, ftInteger a 64-bit integer (read back as a
// 32-bit Variant when it fits), ftDate/ftDateTime a TDateTime stored as ISO
// text, ftBlob raw bytes passed through unconverted.
enum TFieldType { ftString, ftInteger, ftFloat, ftBoolean, ftDate, ftDateTime, ftBlob };

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// The Size of a text column declared without a length ("TEXT", or an
// expression of a query).
constexpr int DefaultStringSize = 255;
constexpr int DefaultDisplayWidth = 40;

// Fields are made and destroyed by their data set: the columns on Open, the
// others by TDataSet::AddField.
class TField : public TObject {
 public:
  ~TField() override;

  TDataSet* DataSet() const { return FDataSet; }
  const AnsiString& FieldName() const { return FFieldName; }
  TFieldKind FieldKind() const { return FFieldKind; }
  TFieldType DataType() const { return FDataType; }
  // Text fields: the declared maximum length; 0 for the other types. The
  // length is what controls offer; longer text is still stored as given.
  int Size() const { return FSize; }
  // Position in the data set's Fields, from 0.
  int Index() const;

  const AnsiString& DisplayLabel() const {
    return FDisplayLabel.empty() ? FFieldName : FDisplayLabel;
  }
  void SetDisplayLabel(const AnsiString& Value) { FDisplayLabel = Value; }
  // In characters: text fields start at their Size, at most
  // DefaultDisplayWidth, so a TEXT column does not span the screen.
  int DisplayWidth() const { return FDisplayWidth; }
  void SetDisplayWidth(int Value) { FDisplayWidth = Value; }
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { FAlignment = Value; }
  // Lookup fields are always read-only: their key field is what gets written.
  bool ReadOnly() const { return FReadOnly || FFieldKind == fkLookup; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }

  // The value in the data set's current record (null when the data set is
  // closed or empty). Writing needs the data set in dsEdit or dsInsert, except
  // for calculated fields, which hold the values OnCalcFields gives them.
  Variant Value() const;
  void SetValue(const Variant& NewValue);
  // Null reads as "" and 0; a date as the short date format with a
  // four-digit year, which SetAsString reads back as the same date.
  AnsiString AsString() const;
  void SetAsString(const AnsiString& NewValue) { SetValue(NewValue); }
  int AsInteger() const;
  void SetAsInteger(int NewValue) { SetValue(NewValue); }
  bool IsNull() const { return Value().IsEmptyOrNull(); }
  void Clear() { SetValue(Variant::Null()); }

  // Lookup fields: the value of LookupResultField in the record of
  // LookupDataSet whose LookupKeyFields equals this data set's KeyFields.
  TDataSet* LookupDataSet() const { return FLookupDataSet; }
  void SetLookupDataSet(TDataSet* Value);
  const AnsiString& KeyFields() const { return FKeyFields; }
  void SetKeyFields(const AnsiString& Value) { FKeyFields = Value; }
  const AnsiString& LookupKeyFields() const { return FLookupKeyFields; }
  void SetLookupKeyFields(const AnsiString& Value) { FLookupKeyFields = Value; }
  const AnsiString& LookupResultField() const { return FLookupResultField; }
  void SetLookupResultField(const AnsiString& Value) { FLookupResultField = Value; }

  // The value converted to this field's type, as it is stored in a record.
  // Throws EVariantError for a value the type cannot hold.
  Variant Convert(const Variant& NewValue) const;
  // The text of a stored value, as AsString gives it.
  AnsiString TextOf(const Variant& StoredValue) const;

 private:
  friend class TDataSet;
  TField(TDataSet* ADataSet, const AnsiString& AFieldName, TFieldKind AKind, TFieldType AType,
         int ASize);
  void SetDataDefinition(TFieldType AType, int ASize);

  TDataSet* FDataSet;
  AnsiString FFieldName;
  std::string FColumnName;  // a data field's column as SQLite names it: what SQL uses
  TFieldKind FFieldKind;
  TFieldType FDataType;
  int FSize;
  int FFieldNo = -1;  // column of a data field, slot of a calculated one
  AnsiString FDisplayLabel;
  int FDisplayWidth = 0;
  TAlignment FAlignment = taLeftJustify;
  bool FReadOnly = false;
  TDataSet* FLookupDataSet = nullptr;
  AnsiString FKeyFields;
  AnsiString FLookupKeyFields;
  AnsiString FLookupResultField;
};
