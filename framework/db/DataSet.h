#pragma once
// TDataSet: a buffered cursor over the rows of a SQLite table or query.
//
// Conventions of framework/db: C++ has no properties, so a property is a
// getter named like it (Active(), State(), RecNo()) and, where it can be
// written, a writer named Set plus its name (SetActive, SetRecNo). Events are
// public std::function members named On plus the happening; plain settings
// are public fields. Errors are EDatabaseError, prefixed with the component's
// Name when it has one (a value a field's type cannot hold: EConvertError).
//
// Open reads every row into memory; the cursor then moves over that buffer.
// Edit/Insert/Append change a copy of the current record; Post writes it to
// the table in a transaction and only then into the buffer, so a failed Post
// leaves the data set in its editing state with every value as the user left
// it. A data set opened on SQL is read-only; one opened on a table writes
// back by rowid, and only when the record still holds what the data set
// read ("Record not found or changed by another user" otherwise).
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/db/Field.h"
#include "framework/db/FieldSearch.h"
#include "framework/db/Fields.h"
#include "framework/rtl/Component.h"
#include "framework/rtl/Variant.h"

class TDatabase;
class TDataSource;
class TSqlStatement;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

using TDataSetNotifyEvent = std::function<void(TDataSet* DataSet)>;

class TDataSet : public TComponent {
 public:
  explicit TDataSet(TComponent* AOwner);
  // Discards an unposted edit (a destructor cannot report a failed Post).
  ~TDataSet() override;

  // Where the rows come from: a table (editable) or a query (read-only).
  // These change only while the data set is closed.
  TDatabase* Database() const { return FDatabase; }
  void SetDatabase(TDatabase* Value);
  const AnsiString& TableName() const { return FTableName; }
  void SetTableName(const AnsiString& Value);  // clears SQL
  const AnsiString& SQL() const { return FSQL; }
  // A query in Windows-1252 text, like every text of the library; clears TableName.
  void SetSQL(const AnsiString& Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // Open on a table with rowids (not one of SQLite's own), not ReadOnly, on
  // a database that can be written.
  bool CanModify() const;

  bool Active() const { return FState != dsInactive; }
  void SetActive(bool Value);
  // Connects the database when needed and reads every row.
  void Open();
  // Posts a modified record first (and stays open if that fails), cancels an
  // unmodified one.
  void Close();
  TDataSetState State() const { return FState; }

  // Navigation. Moving off an edited record posts it first, as Close does.
  void First();
  void Last();
  void Next();
  void Prior();
  // Moves by Distance records within the bounds; returns how far it moved.
  int MoveBy(int Distance);
  bool Bof() const { return FBof; }
  bool Eof() const { return FEof; }
  // The current record from 1; 0 when closed or empty.
  int RecNo() const { return Active() ? FCurrent + 1 : 0; }
  void SetRecNo(int Value);
  // Records in the buffer, an inserted one not yet posted included; 0 when closed.
  int RecordCount() const { return static_cast<int>(FRowIds.size()); }
  bool IsEmpty() const { return RecordCount() == 0; }

  TFields& Fields() { return FFields; }
  const TFields& Fields() const { return FFields; }
  int FieldCount() const { return FFields.Count(); }
  // Throws EDatabaseError "Field 'X' not found" for an unknown name.
  TField* FieldByName(const AnsiString& FieldName) const;
  TField* FindField(const AnsiString& FieldName) const { return FFields.FindField(FieldName); }
  // Adds a calculated or lookup field; only while closed. The columns of the
  // table or query become data fields on Open (and keep their TField across
  // Close and Open while the column stays).
  TField* AddField(const AnsiString& FieldName, TFieldKind Kind, TFieldType DataType = ftString,
                   int Size = 0);

  // The editing state machine. Edit of an empty data set inserts.
  void Edit();
  // A new empty record before the current one (Insert) or after the last (Append).
  void Insert();
  void Append();
  // Writes the record in a transaction, once the table's record still holds
  // what this data set read; on failure throws EDatabaseError with SQLite's
  // message and code (SQLITE_NOTFOUND when the record is gone or changed)
  // and keeps the state and every value.
  void Post();
  void Cancel();
  // Deletes the current record from the table (an inserted one is
  // cancelled), on the same check as Post.
  void Delete();
  // True when a field of the edited record has been written.
  bool Modified() const { return FModified; }
  // Posts a modified record or cancels an unmodified one.
  void CheckBrowseMode();

  // Makes the first record (in this data set's order) whose field KeyFields
  // matches KeyValues the current one and returns true; returns false and
  // leaves the current record alone when none does. Text is compared as
  // text (loCaseInsensitive folds case, loPartialKey matches a beginning);
  // other types compare by value, or by their text when loPartialKey is set.
  // One field name only; a null value finds a null field.
  bool Locate(const AnsiString& KeyFields, const Variant& KeyValues, TLocateOptions Options);
  // The value of ResultFields in the first record whose KeyFields equals
  // KeyValues, or null; the current record does not move.
  Variant Lookup(const AnsiString& KeyFields, const Variant& KeyValues,
                 const AnsiString& ResultFields);

  // Gives the calculated fields their values; run for a record whenever one
  // of them is read there after the record changed.
  TDataSetNotifyEvent OnCalcFields;

  // Builds now what the first Locate of this field with these options would
  // build, so that no keystroke waits for it: a large lookup list calls it
  // once open. After a change of the data the next search builds it again.
  void PrepareLocate(const AnsiString& FieldName, TLocateOptions Options);

  // Data sets with fewer records than this search by scanning; larger ones
  // build a sorted index of the searched field on their first search.
  int LocateIndexThreshold = 1024;

 private:
  friend class TField;
  friend class TDatabase;
  friend class TDataSource;
  friend class TRecordScope;

  enum TDataEvent {
    deActiveChanged,
    deDataSetChanged,
    deDataSetScrolled,
    deRecordChanged,
    deEditingChanged,
    deUpdateData
  };

  [[noreturn]] void Error(const AnsiString& Message, int Code = 0) const;
  void CheckActive() const;
  void CheckInactive() const;
  void CheckCanModify() const;
  void CheckEditing() const;
  // A new empty record in the buffer at At, being inserted.
  void InsertBufferedRecord(int At);
  // Drops a record from the buffer (after a cancelled insert or a delete).
  void RemoveBufferedRecord(int Record);
  // Leaves editing: the edit copy is dropped and the links are told.
  void ReturnToBrowse();

  void OpenCursor();
  void CloseCursor();
  void BindFields(TSqlStatement& Stmt, int FirstColumn);
  void ReadRow(TSqlStatement& Stmt, int FirstColumn, std::vector<Variant>& Row) const;
  void WriteAndStore();
  // The SQL of Post, in the transaction; Replaced gets the records the
  // write removed from the table (a REPLACE conflict clause).
  void WriteRecord(std::vector<Variant>& Row, int64_t& RowId, std::vector<int>& Replaced);
  // Throws "Record not found or changed by another user" unless the table
  // still holds Record as this data set read it.
  void CheckRecordUnchanged(int Record);
  std::vector<int> ReplacedRecords(int64_t RowId) const;
  std::string TableSqlName() const;

  // Within the buffer, with the scroll notification.
  void MoveTo(int Record, bool AtBof, bool AtEof);
  void SetState(TDataSetState Value);
  void BeginEdit(TDataSetState NewState, int Record, bool NewRecord);
  void DataChanged();  // the buffer changed: indexes and calculated values are stale
  void DataEvent(TDataEvent Event, TField* Field = nullptr, int Distance = 0);

  // Reading and writing through the fields.
  int ActiveRecord() const { return FViewRecord >= 0 ? FViewRecord : FCurrent; }
  Variant FieldValue(const TField& Field) const;
  void SetFieldValue(TField& Field, const Variant& Value);
  const Variant& StoredValue(int Column, int Record) const;
  void CalculateFields() const;

  // The first record (from 0) that matches, or -1.
  int FindRecord(const TField& Field, const Variant& Value, TLocateOptions Options) const;

  void AttachSource(TDataSource* Source);
  void DetachSource(TDataSource* Source);
  void AttachLookupClient(TField* Field);
  void DetachLookupClient(TField* Field);
  void DatabaseDestroyed();

  TDatabase* FDatabase = nullptr;
  AnsiString FTableName;
  AnsiString FSQL;
  bool FReadOnly = false;
  std::string FRowIdName;    // empty when the rows cannot be written back
  bool FMayReplace = false;  // the table declares a REPLACE conflict clause

  TFields FFields;
  TDataSetState FState = dsInactive;
  bool FBof = true;
  bool FEof = true;
  int FCurrent = -1;
  std::vector<int64_t> FRowIds;
  std::vector<std::vector<Variant>> FColumns;  // [column][record]

  std::vector<Variant> FEditValues;  // the record being edited, one per column
  std::vector<bool> FAssigned;       // columns written since Edit/Insert
  bool FModified = false;
  int FEditRecord = -1;

  int FViewRecord = -1;  // set while a TRecordScope reads another record
  mutable std::vector<Variant> FCalcValues;
  mutable int FCalcRecord = -1;
  mutable uint64_t FCalcStamp = 0;
  mutable bool FCalculating = false;
  uint64_t FStamp = 1;  // bumped by every change of a record's values

  TFieldSearch FSearch;

  std::vector<TDataSource*> FSources;
  std::vector<TField*> FLookupClients;
};

// Makes the fields of a data set read another record than the current one
// for as long as it lives, without moving the cursor or posting an edit: a
// grid paints its rows with it. Fields cannot be written meanwhile unless
// the record is the current one.
class TRecordScope {
 public:
  TRecordScope(TDataSet& DataSet, int RecNo);
  ~TRecordScope();
  TRecordScope(const TRecordScope&) = delete;
  TRecordScope& operator=(const TRecordScope&) = delete;

 private:
  TDataSet& FDataSet;
  int FSaved;
};
