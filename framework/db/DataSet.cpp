#include "framework/db/DataSet.h"

#include <algorithm>

#include "framework/db/DataSource.h"
#include "framework/db/Database.h"
#include "framework/db/SqlStatement.h"
#include "framework/db/SqliteDialect.h"
#include "framework/db/Transaction.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Exceptions.h"

namespace {

const Variant kNull = Variant::Null();

// Same kind and same value: what a field read is recognised when it is
// written back, and the record is compared with the table's before a write.
bool SameValue(const Variant& A, const Variant& B) { return A.VarType() == B.VarType() && A == B; }

// Nesting of lookup fields resolving through each other; a cycle ends here.
constexpr int kMaxLookupDepth = 8;
int LookupDepth = 0;

}  // namespace

// ---------------------------------------------------------------------------
// Life and configuration

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet() {
  if (Active()) {
    CloseCursor();
    FState = dsInactive;
  }
  for (TDataSource* s : std::vector<TDataSource*>(FSources)) {
    try {
      s->DataSetDestroyed();
    } catch (...) {
      // A destructor has nobody to report to.
    }
  }
  for (TField* f : FLookupClients) f->FLookupDataSet = nullptr;
  FLookupClients.clear();
  for (const auto& f : FFields.FList) f->SetLookupDataSet(nullptr);
  FFields.FList.clear();
  if (FDatabase) FDatabase->DetachDataSet(this);
}

void TDataSet::SetDatabase(TDatabase* Value) {
  if (Value == FDatabase) return;
  CheckInactive();
  if (FDatabase) FDatabase->DetachDataSet(this);
  FDatabase = Value;
  if (FDatabase) FDatabase->AttachDataSet(this);
}

void TDataSet::SetTableName(const AnsiString& Value) {
  CheckInactive();
  FTableName = Value;
  FSQL.clear();
}

void TDataSet::SetSQL(const AnsiString& Value) {
  CheckInactive();
  FSQL = Value;
  FTableName.clear();
}

void TDataSet::SetReadOnly(bool Value) {
  CheckInactive();
  FReadOnly = Value;
}

bool TDataSet::CanModify() const {
  return Active() && !FReadOnly && !FRowIdName.empty() && FDatabase && FDatabase->CanWrite();
}

void TDataSet::DatabaseDestroyed() {
  if (Active()) {
    CloseCursor();
    FState = dsInactive;
    FBof = FEof = true;
    try {
      DataEvent(deActiveChanged);
    } catch (...) {
      // Called from the database's destructor.
    }
  }
  FDatabase = nullptr;
}

// ---------------------------------------------------------------------------
// Errors and checks

void TDataSet::Error(const AnsiString& Message, int Code) const {
  throw EDatabaseError(Name().empty() ? Message : Name() + ": " + Message, Code);
}

void TDataSet::CheckActive() const {
  if (!Active()) Error("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const {
  if (Active()) Error("Cannot perform this operation on an open dataset");
}

void TDataSet::CheckCanModify() const {
  // A damaged file says so rather than that the data set is read-only.
  if (Active() && FDatabase && FDatabase->Damaged()) FDatabase->CheckWritable();
  if (!CanModify()) Error("Cannot modify a read-only dataset", SQLITE_READONLY);
}

void TDataSet::CheckEditing() const {
  if (FState != dsEdit && FState != dsInsert) Error("Dataset not in edit or insert mode");
}

TField* TDataSet::FieldByName(const AnsiString& FieldName) const {
  TField* f = FindField(FieldName);
  if (!f) Error("Field '" + FieldName + "' not found");
  return f;
}

TField* TDataSet::AddField(const AnsiString& FieldName, TFieldKind Kind, TFieldType DataType,
                           int Size) {
  CheckInactive();
  if (Kind == fkData) Error("Data fields are the columns of the table or query");
  if (FieldName.empty()) Error("Field name missing");
  if (FindField(FieldName)) Error("Duplicate field name '" + FieldName + "'");
  std::unique_ptr<TField> f(new TField(this, FieldName, Kind, DataType, Size));
  if (Kind == fkCalculated) {
    int calcCount = 0;
    for (const auto& g : FFields.FList) calcCount += g->FieldKind() == fkCalculated;
    f->FFieldNo = calcCount;
  }
  FFields.Add(std::move(f));
  return FFields.FList.back().get();
}

// ---------------------------------------------------------------------------
// Opening and closing

void TDataSet::SetActive(bool Value) {
  if (Value)
    Open();
  else
    Close();
}

void TDataSet::Open() {
  if (Active()) return;
  OpenCursor();
  FState = dsBrowse;
  FCurrent = FRowIds.empty() ? -1 : 0;
  FBof = true;
  FEof = FRowIds.empty();
  DataChanged();
  DataEvent(deActiveChanged);
}

void TDataSet::Close() {
  if (!Active()) return;
  CheckBrowseMode();
  CloseCursor();
  FState = dsInactive;
  FBof = FEof = true;
  DataChanged();
  DataEvent(deActiveChanged);
}

void TDataSet::CloseCursor() {
  FRowIds.clear();
  FRowIds.shrink_to_fit();
  FColumns.clear();
  FEditValues.clear();
  FAssigned.clear();
  FModified = false;
  FEditRecord = -1;
  FCurrent = -1;
  FViewRecord = -1;
  FCalcRecord = -1;
  FSearch.Clear();
}

std::string TDataSet::TableSqlName() const { return AnsiToUtf8(FTableName); }

void TDataSet::OpenCursor() {
  if (!FDatabase) Error("No database assigned");
  if (FTableName.empty() && FSQL.empty()) Error("No table name or SQL given");
  FDatabase->Open();
  sqlite3* db = FDatabase->Handle();

  std::string sql;
  int first = 0;
  FRowIdName.clear();
  FMayReplace = false;
  if (!FTableName.empty()) {
    const std::string table = TableSqlName();
    // The rowid under a name that no column of the table hides; views and
    // tables without rowid have none and stay read-only, and so do the
    // tables SQLite keeps for itself.
    std::vector<std::string> names;
    {
      TSqlStatement probe(*FDatabase, "SELECT * FROM " + QuoteName(table));
      for (int i = 0; i < probe.ColumnCount(); ++i)
        names.push_back(UpperCaseAscii(probe.ColumnName(i)));
    }
    for (const char* alias : {"rowid", "_rowid_", "oid"}) {
      if (IsInternalTable(table)) break;
      if (std::find(names.begin(), names.end(), UpperCaseAscii(alias)) != names.end()) continue;
      if (sqlite3_table_column_metadata(db, nullptr, table.c_str(), alias, nullptr, nullptr,
                                        nullptr, nullptr, nullptr) == SQLITE_OK)
        FRowIdName = alias;
      break;
    }
    if (!FRowIdName.empty()) {
      TSqlStatement schema(*FDatabase, TableDeclarationSql());
      schema.BindText(1, table);
      while (schema.Step())
        FMayReplace =
            FMayReplace ||
            UpperCaseAscii(std::string(schema.ColumnText(0))).find("REPLACE") != std::string::npos;
    }
    first = FRowIdName.empty() ? 0 : 1;
    sql = SelectTableSql(table, FRowIdName);
  } else {
    sql = AnsiToUtf8(FSQL);
  }

  // Opening must not change anything: a query is refused while it is
  // prepared unless it only reads.
  TSqlStatement stmt(*FDatabase, sql, FTableName.empty());
  BindFields(stmt, first);

  std::vector<TField*> columns(FColumns.size());
  for (const auto& f : FFields.FList)
    if (f->FieldKind() == fkData) columns[static_cast<size_t>(f->FFieldNo)] = f.get();
  std::vector<bool> undecided(columns.size());
  for (size_t c = 0; c < columns.size(); ++c)
    undecided[c] = stmt.ColumnDeclType(first + static_cast<int>(c)).empty();
  try {
    while (stmt.Step()) {
      FRowIds.push_back(first ? stmt.ColumnInt64(0) : 0);
      for (size_t c = 0; c < columns.size(); ++c) {
        const int col = first + static_cast<int>(c);
        if (undecided[c]) {
          // An expression's type is that of its first value.
          if (auto t = TypeOfStorage(stmt.ColumnType(col))) {
            columns[c]->SetDataDefinition(*t, 0);
            undecided[c] = false;
          }
        }
        FColumns[c].push_back(ReadCell(stmt, col, columns[c]->DataType()));
      }
    }
  } catch (...) {
    CloseCursor();
    throw;
  }
}

void TDataSet::BindFields(TSqlStatement& Stmt, int FirstColumn) {
  struct TColumnDef {
    std::string Column;  // as SQLite names it
    AnsiString Name;     // as the field shows it
    bool Exact;          // the name survived the conversion
    TFieldType Type;
    int Size;
  };
  std::vector<TColumnDef> defs;
  for (int c = FirstColumn; c < Stmt.ColumnCount(); ++c) {
    TColumnDef def{Stmt.ColumnName(c), "", true, ftString, 0};
    def.Name = Utf8ToAnsi(def.Column);
    def.Exact = AnsiToUtf8(def.Name) == def.Column;
    def.Type = TypeOfDeclaration(Stmt.ColumnDeclType(c), def.Size).value_or(ftString);
    defs.push_back(def);
  }
  // Field names are unique as they are shown. A repeated name gets a suffix
  // (n, n_1), and names the conversion changed yield to those it did not:
  // the column "?" keeps its name, and "Ω" becomes "?_1".
  std::vector<AnsiString> taken;
  for (bool exact : {true, false}) {
    for (TColumnDef& def : defs) {
      if (def.Exact != exact) continue;
      const AnsiString base = def.Name;
      for (int n = 1; std::find(taken.begin(), taken.end(), def.Name) != taken.end(); ++n)
        def.Name = base + "_" + std::to_string(n);
      taken.push_back(def.Name);
      const TField* other = FindField(def.Name);
      if (other && other->FieldKind() != fkData) Error("Duplicate field name '" + def.Name + "'");
    }
  }

  // A column that is still there keeps its TField, and with it its settings.
  std::vector<std::unique_ptr<TField>> old, others;
  for (auto& f : FFields.FList) (f->FieldKind() == fkData ? old : others).push_back(std::move(f));
  FFields.FList.clear();
  const auto reusable = [&](const AnsiString& Name) {
    auto it = std::find_if(old.begin(), old.end(),
                           [&](const auto& f) { return f && f->FieldName() == Name; });
    if (it == old.end())
      it = std::find_if(old.begin(), old.end(),
                        [&](const auto& f) { return f && SameFieldName(f->FieldName(), Name); });
    return it;
  };
  for (size_t c = 0; c < defs.size(); ++c) {
    const TColumnDef& def = defs[c];
    auto reuse = reusable(def.Name);
    std::unique_ptr<TField> f;
    if (reuse != old.end()) {
      f = std::move(*reuse);
      f->FFieldName = def.Name;
      f->SetDataDefinition(def.Type, def.Size);
    } else {
      f.reset(new TField(this, def.Name, fkData, def.Type, def.Size));
    }
    f->FColumnName = def.Column;
    f->FFieldNo = static_cast<int>(c);
    FFields.FList.push_back(std::move(f));
  }
  for (auto& f : others) FFields.FList.push_back(std::move(f));
  FColumns.assign(defs.size(), {});
}

void TDataSet::ReadRow(TSqlStatement& Stmt, int FirstColumn, std::vector<Variant>& Row) const {
  if (Stmt.ColumnCount() - FirstColumn != static_cast<int>(FColumns.size()))
    Error("The columns of table " + FTableName + " have changed; reopen the data set");
  Row.assign(FColumns.size(), kNull);
  for (const auto& f : FFields.FList)
    if (f->FieldKind() == fkData)
      Row[static_cast<size_t>(f->FFieldNo)] =
          ReadCell(Stmt, FirstColumn + f->FFieldNo, f->DataType());
}

// ---------------------------------------------------------------------------
// Notifications

void TDataSet::AttachSource(TDataSource* Source) {
  if (std::find(FSources.begin(), FSources.end(), Source) == FSources.end())
    FSources.push_back(Source);
}

void TDataSet::DetachSource(TDataSource* Source) {
  FSources.erase(std::remove(FSources.begin(), FSources.end(), Source), FSources.end());
}

void TDataSet::AttachLookupClient(TField* Field) { FLookupClients.push_back(Field); }

void TDataSet::DetachLookupClient(TField* Field) {
  FLookupClients.erase(std::remove(FLookupClients.begin(), FLookupClients.end(), Field),
                       FLookupClients.end());
}

void TDataSet::DataEvent(TDataEvent Event, TField* Field, int Distance) {
  const std::vector<TDataSource*> sources(FSources);
  for (TDataSource* s : sources)
    if (std::find(FSources.begin(), FSources.end(), s) != FSources.end())
      s->Notify(Event, Field, Distance);
}

void TDataSet::SetState(TDataSetState Value) {
  if (Value == FState) return;
  FState = Value;
  DataEvent(deEditingChanged);
}

void TDataSet::DataChanged() {
  FSearch.Clear();
  ++FStamp;
}

// ---------------------------------------------------------------------------
// Navigation

void TDataSet::MoveTo(int Record, bool AtBof, bool AtEof) {
  const int distance = Record - FCurrent;
  FCurrent = Record;
  FBof = AtBof;
  FEof = AtEof;
  if (distance != 0) DataEvent(deDataSetScrolled, nullptr, distance);
}

void TDataSet::First() {
  CheckActive();
  CheckBrowseMode();
  MoveTo(IsEmpty() ? -1 : 0, true, IsEmpty());
}

void TDataSet::Last() {
  CheckActive();
  CheckBrowseMode();
  MoveTo(RecordCount() - 1, IsEmpty(), true);
}

void TDataSet::Next() { MoveBy(1); }

void TDataSet::Prior() { MoveBy(-1); }

int TDataSet::MoveBy(int Distance) {
  CheckActive();
  CheckBrowseMode();
  if (IsEmpty()) {
    FBof = FEof = true;
    return 0;
  }
  if (Distance == 0) return 0;
  const long long wanted = static_cast<long long>(FCurrent) + Distance;
  const int target = static_cast<int>(std::clamp<long long>(wanted, 0, RecordCount() - 1));
  const int moved = target - FCurrent;
  MoveTo(target, wanted<0, wanted> RecordCount() - 1);
  return moved;
}

void TDataSet::SetRecNo(int Value) {
  CheckActive();
  if (Value < 1 || Value > RecordCount()) Error("Record number out of range");
  CheckBrowseMode();
  MoveTo(std::min(Value, RecordCount()) - 1, false, false);
}

// ---------------------------------------------------------------------------
// Editing

void TDataSet::BeginEdit(TDataSetState NewState, int Record, bool NewRecord) {
  FEditRecord = Record;
  FEditValues.clear();
  if (NewRecord)
    FEditValues.assign(FColumns.size(), kNull);
  else
    for (const auto& column : FColumns) FEditValues.push_back(column[static_cast<size_t>(Record)]);
  FAssigned.assign(FColumns.size(), false);
  FModified = false;
  ++FStamp;
  SetState(NewState);
}

void TDataSet::Edit() {
  CheckActive();
  if (FState == dsEdit || FState == dsInsert) return;
  CheckCanModify();
  if (IsEmpty()) return Insert();
  BeginEdit(dsEdit, FCurrent, false);
}

void TDataSet::Insert() {
  CheckActive();
  CheckCanModify();
  CheckBrowseMode();
  InsertBufferedRecord(IsEmpty() ? 0 : FCurrent);
}

void TDataSet::Append() {
  CheckActive();
  CheckCanModify();
  CheckBrowseMode();
  InsertBufferedRecord(RecordCount());
}

void TDataSet::InsertBufferedRecord(int At) {
  FRowIds.insert(FRowIds.begin() + At, 0);
  for (auto& column : FColumns) column.insert(column.begin() + At, kNull);
  FCurrent = At;
  FBof = FEof = false;
  DataChanged();
  BeginEdit(dsInsert, At, true);
  DataEvent(deDataSetChanged);
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (FState != dsEdit && FState != dsInsert) return;
  DataEvent(deUpdateData);
  if (FModified)
    WriteAndStore();
  else
    Cancel();
}

void TDataSet::Post() {
  CheckActive();
  CheckEditing();
  DataEvent(deUpdateData);
  WriteAndStore();
}

void TDataSet::WriteAndStore() {
  if (FState == dsInsert || FModified) {
    std::vector<Variant> row;
    int64_t rowid = 0;
    std::vector<int> replaced;
    WriteRecord(row, rowid, replaced);
    // Only now that the table has the record does the buffer change.
    FRowIds[static_cast<size_t>(FEditRecord)] = rowid;
    for (size_t c = 0; c < FColumns.size(); ++c)
      FColumns[c][static_cast<size_t>(FEditRecord)] = std::move(row[c]);
    for (auto r = replaced.rbegin(); r != replaced.rend(); ++r) {
      RemoveBufferedRecord(*r);
      if (*r < FEditRecord) --FEditRecord;
    }
    FCurrent = FEditRecord;
  }
  ReturnToBrowse();
}

void TDataSet::WriteRecord(std::vector<Variant>& Row, int64_t& RowId, std::vector<int>& Replaced) {
  const bool inserting = FState == dsInsert;
  const auto edited = static_cast<size_t>(FEditRecord);
  std::vector<const TField*> written;
  std::vector<std::string> columns;
  for (const auto& f : FFields.FList) {
    if (f->FieldKind() != fkData) continue;
    const auto col = static_cast<size_t>(f->FFieldNo);
    // A field given back the value it read leaves the stored value alone.
    if (!FAssigned[col] || (!inserting && SameValue(FEditValues[col], FColumns[col][edited])))
      continue;
    written.push_back(f.get());
    columns.push_back(f->FColumnName);
  }
  if (!inserting && written.empty()) {
    RowId = FRowIds[edited];
    for (const auto& column : FColumns) Row.push_back(column[edited]);
    return;
  }

  const std::string table = TableSqlName();
  TTransaction transaction(*FDatabase);
  if (!inserting) CheckRecordUnchanged(FEditRecord);
  const auto write = [&](bool OrAbort) {
    TSqlStatement stmt(*FDatabase, inserting ? InsertSql(table, columns, FRowIdName, OrAbort)
                                             : UpdateSql(table, columns, FRowIdName, OrAbort));
    int param = 1;
    for (const TField* f : written)
      BindCell(stmt, param++, f->DataType(), FEditValues[static_cast<size_t>(f->FFieldNo)]);
    if (!inserting) stmt.BindInt64(param, FRowIds[edited]);
    if (!stmt.Step()) return false;
    RowId = stmt.ColumnInt64(0);
    while (stmt.Step()) {
    }
    return true;
  };
  // A write that the table's conflict clause ignored (ON CONFLICT IGNORE)
  // runs again as OR ABORT, which reports the constraint.
  if (!write(false) && !write(true))
    Error("The record was not written: the table ignored it", SQLITE_CONSTRAINT);
  // Read back after the table's triggers, not from RETURNING (which comes
  // before AFTER triggers), so that the next write compares with the truth.
  {
    TSqlStatement stmt(*FDatabase, SelectRowSql(table, FRowIdName));
    stmt.BindInt64(1, RowId);
    if (!stmt.Step()) Error("Record not found or changed by another user", SQLITE_NOTFOUND);
    ReadRow(stmt, 1, Row);
  }
  if (FMayReplace) Replaced = ReplacedRecords(RowId);
  transaction.Commit();
}

void TDataSet::CheckRecordUnchanged(int Record) {
  const auto rec = static_cast<size_t>(Record);
  TSqlStatement stmt(*FDatabase, SelectRowSql(TableSqlName(), FRowIdName));
  stmt.BindInt64(1, FRowIds[rec]);
  bool same = stmt.Step();
  if (same) {
    std::vector<Variant> current;
    ReadRow(stmt, 1, current);
    for (size_t c = 0; same && c < FColumns.size(); ++c)
      same = SameValue(current[c], FColumns[c][rec]);
  }
  if (!same) Error("Record not found or changed by another user", SQLITE_NOTFOUND);
}

std::vector<int> TDataSet::ReplacedRecords(int64_t RowId) const {
  // A REPLACE conflict clause deletes the records that clashed with the one
  // written, and SQLite does not say which: the buffer is held against the
  // rowids the table still has.
  std::vector<int64_t> present;
  TSqlStatement stmt(*FDatabase, SelectRowIdsSql(TableSqlName(), FRowIdName));
  while (stmt.Step()) present.push_back(stmt.ColumnInt64(0));
  std::vector<int> gone;
  for (int r = 0; r < RecordCount(); ++r) {
    const int64_t id = FRowIds[static_cast<size_t>(r)];
    if (r != FEditRecord &&
        (id == RowId || !std::binary_search(present.begin(), present.end(), id)))
      gone.push_back(r);
  }
  return gone;
}

void TDataSet::Cancel() {
  CheckActive();
  if (FState != dsEdit && FState != dsInsert) return;
  if (FState == dsInsert) RemoveBufferedRecord(FEditRecord);
  ReturnToBrowse();
}

void TDataSet::RemoveBufferedRecord(int Record) {
  FRowIds.erase(FRowIds.begin() + Record);
  for (auto& column : FColumns) column.erase(column.begin() + Record);
  FCurrent = std::min(Record, RecordCount() - 1);
}

void TDataSet::ReturnToBrowse() {
  FBof = FEof = IsEmpty();
  FEditValues.clear();
  FAssigned.clear();
  FModified = false;
  FEditRecord = -1;
  DataChanged();
  SetState(dsBrowse);
  DataEvent(deDataSetChanged);
}

void TDataSet::Delete() {
  CheckActive();
  if (FState == dsInsert) return Cancel();
  CheckCanModify();
  if (IsEmpty()) Error("Cannot perform this operation on an empty dataset");
  {
    TTransaction transaction(*FDatabase);
    CheckRecordUnchanged(FCurrent);
    TSqlStatement stmt(*FDatabase, DeleteSql(TableSqlName(), FRowIdName));
    stmt.BindInt64(1, FRowIds[static_cast<size_t>(FCurrent)]);
    stmt.Step();
    if (sqlite3_changes(FDatabase->Handle()) == 0)
      Error("The record was not deleted: the table ignored it", SQLITE_CONSTRAINT);
    transaction.Commit();
  }
  RemoveBufferedRecord(FCurrent);
  ReturnToBrowse();
}

// ---------------------------------------------------------------------------
// Field values

const Variant& TDataSet::StoredValue(int Column, int Record) const {
  return FColumns[static_cast<size_t>(Column)][static_cast<size_t>(Record)];
}

Variant TDataSet::FieldValue(const TField& Field) const {
  const int rec = ActiveRecord();
  if (!Active() || rec < 0 || rec >= RecordCount()) return kNull;
  switch (Field.FieldKind()) {
    case fkData:
      if (rec == FEditRecord) return FEditValues[static_cast<size_t>(Field.FFieldNo)];
      return StoredValue(Field.FFieldNo, rec);
    case fkCalculated:
      CalculateFields();
      return FCalcValues[static_cast<size_t>(Field.FFieldNo)];
    case fkLookup: {
      TDataSet* list = Field.LookupDataSet();
      if (!list || !list->Active()) return kNull;
      const Variant key = FieldByName(Field.KeyFields())->Value();
      if (key.IsEmptyOrNull()) return kNull;
      if (LookupDepth >= kMaxLookupDepth)
        Error("Circular lookup field '" + Field.FieldName() + "'");
      ++LookupDepth;
      try {
        Variant v = list->Lookup(Field.LookupKeyFields(), key, Field.LookupResultField());
        --LookupDepth;
        return v;
      } catch (...) {
        --LookupDepth;
        throw;
      }
    }
  }
  return kNull;
}

void TDataSet::SetFieldValue(TField& Field, const Variant& Value) {
  CheckActive();
  if (Field.ReadOnly()) Error("Field '" + Field.FieldName() + "' cannot be modified");
  if (FViewRecord >= 0 && FViewRecord != FCurrent)
    Error("Cannot modify a record other than the current one");
  if (Field.FieldKind() == fkCalculated) {
    if (ActiveRecord() < 0) Error("Cannot perform this operation on an empty dataset");
    CalculateFields();
    FCalcValues[static_cast<size_t>(Field.FFieldNo)] = Field.Convert(Value);
    if (!FCalculating) DataEvent(deRecordChanged, &Field);
    return;
  }
  CheckEditing();
  const auto col = static_cast<size_t>(Field.FFieldNo);
  // The value the field holds, or held when read, is taken as it is:
  // converting it could change it (a Unix time in a date column, an integer
  // beyond a double's precision), and Post then leaves the stored value alone.
  const bool held =
      SameValue(Value, FEditValues[col]) ||
      (FState == dsEdit && SameValue(Value, StoredValue(Field.FFieldNo, FEditRecord)));
  FEditValues[col] = held ? Value : Field.Convert(Value);
  FAssigned[col] = true;
  FModified = true;
  ++FStamp;
  DataEvent(deRecordChanged, &Field);
}

void TDataSet::CalculateFields() const {
  if (FCalculating) return;
  const int rec = ActiveRecord();
  if (FCalcRecord == rec && FCalcStamp == FStamp) return;
  size_t calcCount = 0;
  for (const auto& f : FFields.FList) calcCount += f->FieldKind() == fkCalculated;
  FCalcValues.assign(calcCount, kNull);
  FCalcRecord = rec;
  FCalcStamp = FStamp;
  if (!OnCalcFields) return;
  FCalculating = true;
  try {
    OnCalcFields(const_cast<TDataSet*>(this));
  } catch (...) {
    FCalculating = false;
    FCalcRecord = -1;
    throw;
  }
  FCalculating = false;
}

// ---------------------------------------------------------------------------
// Searching

int TDataSet::FindRecord(const TField& Field, const Variant& Value, TLocateOptions Options) const {
  if (Field.FieldKind() == fkData)
    return FSearch.Find(Field, FColumns[static_cast<size_t>(Field.FFieldNo)], Value, Options,
                        LocateIndexThreshold);
  return FSearch.FindComputed(
      Field, RecordCount(),
      [&](int Record) {
        TRecordScope scope(const_cast<TDataSet&>(*this), Record + 1);
        return Field.Value();
      },
      Value, Options);
}

void TDataSet::PrepareLocate(const AnsiString& FieldName, TLocateOptions Options) {
  CheckActive();
  const TField* field = FieldByName(FieldName);
  if (field->FieldKind() == fkData && RecordCount() >= LocateIndexThreshold)
    FSearch.Prepare(*field, FColumns[static_cast<size_t>(field->FFieldNo)], Options);
}

bool TDataSet::Locate(const AnsiString& KeyFields, const Variant& KeyValues,
                      TLocateOptions Options) {
  CheckActive();
  CheckBrowseMode();
  const TField* field = FieldByName(KeyFields);
  const int rec = FindRecord(*field, KeyValues, Options);
  if (rec < 0) return false;
  MoveTo(rec, false, false);
  return true;
}

Variant TDataSet::Lookup(const AnsiString& KeyFields, const Variant& KeyValues,
                         const AnsiString& ResultFields) {
  CheckActive();
  const TField* key = FieldByName(KeyFields);
  const TField* result = FieldByName(ResultFields);
  const int rec = FindRecord(*key, KeyValues, {});
  if (rec < 0) return kNull;
  TRecordScope scope(*this, rec + 1);
  return result->Value();
}

// ---------------------------------------------------------------------------

TRecordScope::TRecordScope(TDataSet& DataSet, int RecNo)
    : FDataSet(DataSet), FSaved(DataSet.FViewRecord) {
  DataSet.CheckActive();
  if (RecNo < 1 || RecNo > DataSet.RecordCount()) DataSet.Error("Record number out of range");
  DataSet.FViewRecord = RecNo - 1;
}

TRecordScope::~TRecordScope() { FDataSet.FViewRecord = FSaved; }
