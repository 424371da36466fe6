#include "framework/db/DataSet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "framework/db/DataSource.h"
#include "framework/db/Database.h"
#include "framework/db/LocateIndex.h"
#include "framework/db/SqlStatement.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/Exceptions.h"

namespace {

const Variant kNull = Variant::Null();

// The field type of a declared column type, by SQLite's own affinity rules,
// with booleans and dates recognised first. Empty: decided by the data.
std::optional<TFieldType> TypeOfDeclaration(const std::string& Decl, int& Size) {
  Size = 0;
  if (Decl.empty()) return std::nullopt;
  const std::string t = UpperCaseAscii(Decl);
  const auto has = [&](const char* s) { return t.find(s) != std::string::npos; };
  if (has("BOOL")) return ftBoolean;
  if (has("DATETIME") || has("TIMESTAMP")) return ftDateTime;
  if (has("DATE")) return ftDate;
  if (has("INT")) return ftInteger;
  if (has("CHAR") || has("CLOB") || has("TEXT")) {
    const size_t open = t.find('(');
    if (open != std::string::npos) Size = std::atoi(t.c_str() + open + 1);
    return ftString;
  }
  if (has("BLOB")) return ftBlob;
  return ftFloat;  // REAL, FLOAT, DOUBLE, NUMERIC, DECIMAL and the rest
}

std::optional<TFieldType> TypeOfStorage(int SqliteType) {
  switch (SqliteType) {
    case SQLITE_INTEGER:
      return ftInteger;
    case SQLITE_FLOAT:
      return ftFloat;
    case SQLITE_TEXT:
      return ftString;
    case SQLITE_BLOB:
      return ftBlob;
    default:
      return std::nullopt;
  }
}

// "YYYY-MM-DD", optionally followed by " HH:MM[:SS[.fff]]" (or "T" between).
std::optional<TDateTime> ParseIsoDate(std::string_view S) {
  int y, mo, d, h = 0, mi = 0, sec = 0, n = 0;
  const std::string s(S);
  if (std::sscanf(s.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &n) != 3 || n != 10) return std::nullopt;
  TDateTime date;
  if (!TryEncodeDate(y, mo, d, date)) return std::nullopt;
  if (s.size() == 10) return date;
  if (s[10] != ' ' && s[10] != 'T') return std::nullopt;
  double frac = 0;
  int m = 0;
  if (std::sscanf(s.c_str() + 11, "%2d:%2d%n", &h, &mi, &m) != 2) return std::nullopt;
  size_t pos = 11 + static_cast<size_t>(m);
  if (pos < s.size() && s[pos] == ':') {
    int k = 0;
    if (std::sscanf(s.c_str() + pos + 1, "%2d%n", &sec, &k) != 1) return std::nullopt;
    pos += 1 + static_cast<size_t>(k);
    if (pos < s.size() && s[pos] == '.') {
      size_t end = pos + 1;
      while (end < s.size() && IsDigitChar(s[end])) ++end;
      frac = std::atof(s.substr(pos, end - pos).c_str());
      pos = end;
    }
  }
  if (pos != s.size() || h > 23 || mi > 59 || sec > 59) return std::nullopt;
  const double time = (h * 3600.0 + mi * 60.0 + sec + frac) / 86400.0;
  return date >= 0 ? date + time : date - time;
}

std::string FormatIsoDate(TDateTime Value, bool WithTime) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(Value, y, mo, d);
  DecodeTime(Value, h, mi, s, ms);
  char buf[40];
  if (!WithTime)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, mo, d);
  else if (ms)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", y, mo, d, h, mi, s, ms);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
  return buf;
}

// An integer as eight bytes that sort like the numbers.
AnsiString IntegerKey(int64_t V) {
  const uint64_t u = static_cast<uint64_t>(V) ^ (uint64_t{1} << 63);
  AnsiString key(8, '\0');
  for (int i = 0; i < 8; ++i) key[static_cast<size_t>(i)] = static_cast<char>(u >> (56 - 8 * i));
  return key;
}

std::optional<int64_t> WholeNumber(const Variant& V) {
  switch (V.VarType()) {
    case varInteger:
    case varInt64:
      return V.AsInt64();
    case varDouble: {
      const double d = V.AsDouble();
      if (d == std::trunc(d) && std::fabs(d) < 9.2e18) return static_cast<int64_t>(d);
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

bool FoldedEqual(const AnsiString& Text, const AnsiString& FoldedTarget, bool Prefix) {
  if (Prefix ? Text.size() < FoldedTarget.size() : Text.size() != FoldedTarget.size()) return false;
  for (size_t i = 0; i < FoldedTarget.size(); ++i)
    if (FoldCaseAnsi(Text[i]) != FoldedTarget[i]) return false;
  return true;
}

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

bool TDataSet::CanModify() const { return Active() && !FReadOnly && !FRowIdName.empty(); }

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

void TDataSet::Error(const AnsiString& Message) const {
  throw EDatabaseError(Name().empty() ? Message : Name() + ": " + Message);
}

void TDataSet::CheckActive() const {
  if (!Active()) Error("Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const {
  if (Active()) Error("Cannot perform this operation on an open dataset");
}

void TDataSet::CheckCanModify() const {
  if (!CanModify()) Error("Cannot modify a read-only dataset");
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

AnsiString TDataSet::Quote(const AnsiString& Name) const {
  AnsiString q = "\"";
  for (char c : Name) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

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
  FIndexes.clear();
}

void TDataSet::OpenCursor() {
  if (!FDatabase) Error("No database assigned");
  if (FTableName.empty() && FSQL.empty()) Error("No table name or SQL given");
  FDatabase->Open();
  sqlite3* db = FDatabase->Handle();

  std::string sql;
  int first = 0;
  FRowIdName.clear();
  if (!FTableName.empty()) {
    const std::string table = AnsiToUtf8(Quote(FTableName));
    // The rowid under a name that no column of the table hides; views and
    // tables without rowid have none and stay read-only.
    std::vector<AnsiString> names;
    {
      TSqlStatement probe(db, "SELECT * FROM " + table);
      for (int i = 0; i < probe.ColumnCount(); ++i)
        names.push_back(UpperCaseAscii(probe.ColumnName(i)));
    }
    for (const char* alias : {"rowid", "_rowid_", "oid"}) {
      if (std::find(names.begin(), names.end(), UpperCaseAscii(alias)) != names.end()) continue;
      if (sqlite3_table_column_metadata(db, nullptr, AnsiToUtf8(FTableName).c_str(), alias, nullptr,
                                        nullptr, nullptr, nullptr, nullptr) == SQLITE_OK)
        FRowIdName = alias;
      break;
    }
    first = FRowIdName.empty() ? 0 : 1;
    sql = "SELECT " + (first ? FRowIdName + ", " : std::string()) + "* FROM " + table;
  } else {
    sql = AnsiToUtf8(FSQL);
  }

  TSqlStatement stmt(db, sql);
  // Opening must not change anything: only statements that read are run.
  if (stmt.ColumnCount() == 0 || !sqlite3_stmt_readonly(stmt.Handle()))
    Error("The SQL of a data set must be a query that returns rows");
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
        FColumns[c].push_back(ReadCell(stmt, col, *columns[c]));
      }
    }
  } catch (...) {
    CloseCursor();
    throw;
  }
}

void TDataSet::BindFields(TSqlStatement& Stmt, int FirstColumn) {
  struct TColumnDef {
    AnsiString Name;
    TFieldType Type;
    int Size;
  };
  std::vector<TColumnDef> defs;
  for (int c = FirstColumn; c < Stmt.ColumnCount(); ++c) {
    TColumnDef def{Utf8ToAnsi(Stmt.ColumnName(c)), ftString, 0};
    // Queries may repeat a column name: later ones get a suffix.
    const AnsiString base = def.Name;
    const auto taken = [&](const AnsiString& n) {
      return std::any_of(defs.begin(), defs.end(),
                         [&](const TColumnDef& d) { return SameFieldName(d.Name, n); });
    };
    for (int n = 1; taken(def.Name); ++n) def.Name = base + "_" + std::to_string(n);
    def.Type = TypeOfDeclaration(Stmt.ColumnDeclType(c), def.Size).value_or(ftString);
    const TField* other = FindField(def.Name);
    if (other && other->FieldKind() != fkData) Error("Duplicate field name '" + def.Name + "'");
    defs.push_back(def);
  }

  // A column that is still there keeps its TField, and with it its settings.
  std::vector<std::unique_ptr<TField>> old, others;
  for (auto& f : FFields.FList) (f->FieldKind() == fkData ? old : others).push_back(std::move(f));
  FFields.FList.clear();
  for (size_t c = 0; c < defs.size(); ++c) {
    const TColumnDef& def = defs[c];
    auto reuse = std::find_if(old.begin(), old.end(), [&](const auto& f) {
      return f && SameFieldName(f->FieldName(), def.Name);
    });
    std::unique_ptr<TField> f;
    if (reuse != old.end()) {
      f = std::move(*reuse);
      f->FFieldName = def.Name;
      f->SetDataDefinition(def.Type, def.Size);
    } else {
      f.reset(new TField(this, def.Name, fkData, def.Type, def.Size));
    }
    f->FFieldNo = static_cast<int>(c);
    FFields.FList.push_back(std::move(f));
  }
  for (auto& f : others) FFields.FList.push_back(std::move(f));
  FColumns.assign(defs.size(), {});
}

Variant TDataSet::ReadCell(TSqlStatement& Stmt, int Column, const TField& Field) const {
  const int storage = Stmt.ColumnType(Column);
  if (storage == SQLITE_NULL) return kNull;
  switch (Field.DataType()) {
    case ftString:
      return Utf8ToAnsi(Stmt.ColumnText(Column));
    case ftBlob:
      if (storage == SQLITE_BLOB || storage == SQLITE_TEXT)
        return AnsiString(storage == SQLITE_BLOB ? Stmt.ColumnBlob(Column)
                                                 : Stmt.ColumnText(Column));
      break;
    case ftInteger:
      if (storage == SQLITE_INTEGER) {
        const int64_t v = Stmt.ColumnInt64(Column);
        if (v >= INT32_MIN && v <= INT32_MAX) return static_cast<int>(v);
        return static_cast<long long>(v);
      }
      break;
    case ftFloat:
      if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) return Stmt.ColumnDouble(Column);
      break;
    case ftBoolean:
      if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
        return Stmt.ColumnDouble(Column) != 0.0;
      break;
    case ftDate:
    case ftDateTime:
      if (storage == SQLITE_TEXT) {
        if (auto d = ParseIsoDate(Stmt.ColumnText(Column))) return Variant::FromDate(*d);
      }
      break;
  }
  // A value that does not fit the column's declared type is shown as SQLite
  // stores it rather than forced into the type.
  switch (storage) {
    case SQLITE_INTEGER:
      return static_cast<long long>(Stmt.ColumnInt64(Column));
    case SQLITE_FLOAT:
      return Stmt.ColumnDouble(Column);
    default:
      return Utf8ToAnsi(Stmt.ColumnText(Column));
  }
}

void TDataSet::ReadRow(TSqlStatement& Stmt, int FirstColumn, std::vector<Variant>& Row) const {
  if (Stmt.ColumnCount() - FirstColumn != static_cast<int>(FColumns.size()))
    Error("The columns of table " + FTableName + " have changed; reopen the data set");
  Row.assign(FColumns.size(), kNull);
  for (const auto& f : FFields.FList)
    if (f->FieldKind() == fkData)
      Row[static_cast<size_t>(f->FFieldNo)] = ReadCell(Stmt, FirstColumn + f->FFieldNo, *f);
}

void TDataSet::BindValue(TSqlStatement& Stmt, int Param, const TField& Field,
                         const Variant& V) const {
  if (V.IsEmptyOrNull()) return Stmt.BindNull(Param);
  switch (Field.DataType()) {
    case ftString:
      return Stmt.BindText(Param, AnsiToUtf8(V.AsString()));
    case ftBlob:
      return Stmt.BindBlob(Param, V.AsString());
    case ftInteger:
      return Stmt.BindInt64(Param, V.AsInt64());
    case ftFloat:
      return Stmt.BindDouble(Param, V.AsDouble());
    case ftBoolean:
      return Stmt.BindInt64(Param, V.AsBoolean() ? 1 : 0);
    case ftDate:
      return Stmt.BindText(Param, FormatIsoDate(V.AsDate(), false));
    case ftDateTime:
      return Stmt.BindText(Param, FormatIsoDate(V.AsDate(), true));
  }
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
  FIndexes.clear();
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
    WriteRecord(row, rowid);
    // Only now that the table has the record does the buffer change.
    FRowIds[static_cast<size_t>(FEditRecord)] = rowid;
    for (size_t c = 0; c < FColumns.size(); ++c)
      FColumns[c][static_cast<size_t>(FEditRecord)] = std::move(row[c]);
  }
  ReturnToBrowse();
}

void TDataSet::WriteRecord(std::vector<Variant>& Row, int64_t& RowId) {
  std::vector<const TField*> written;
  for (const auto& f : FFields.FList)
    if (f->FieldKind() == fkData && FAssigned[static_cast<size_t>(f->FFieldNo)])
      written.push_back(f.get());
  const std::string table = AnsiToUtf8(Quote(FTableName));
  const std::string returning = " RETURNING " + FRowIdName + ", *";
  std::string sql;
  if (FState == dsInsert) {
    if (written.empty()) {
      sql = "INSERT INTO " + table + " DEFAULT VALUES" + returning;
    } else {
      std::string names, params;
      for (const TField* f : written) {
        names += (names.empty() ? "" : ", ") + AnsiToUtf8(Quote(f->FieldName()));
        params += params.empty() ? "?" : ", ?";
      }
      sql = "INSERT INTO " + table + " (" + names + ") VALUES (" + params + ")" + returning;
    }
  } else {
    std::string sets;
    for (const TField* f : written)
      sets += (sets.empty() ? "" : ", ") + AnsiToUtf8(Quote(f->FieldName())) + " = ?";
    sql = "UPDATE " + table + " SET " + sets + " WHERE " + FRowIdName + " = ?" + returning;
  }
  RunInTransaction([&] {
    TSqlStatement stmt(FDatabase->Handle(), sql);
    int param = 1;
    for (const TField* f : written)
      BindValue(stmt, param++, *f, FEditValues[static_cast<size_t>(f->FFieldNo)]);
    if (FState == dsEdit) stmt.BindInt64(param, FRowIds[static_cast<size_t>(FEditRecord)]);
    if (!stmt.Step()) Error("Record not found or changed by another user");
    RowId = stmt.ColumnInt64(0);
    ReadRow(stmt, 1, Row);
    while (stmt.Step()) {
    }
  });
}

void TDataSet::RunInTransaction(const std::function<void()>& Work) {
  sqlite3* db = FDatabase ? FDatabase->Handle() : nullptr;
  if (!db) Error("Database not connected");
  // Inside a transaction the application opened, a savepoint nests in it.
  const bool own = sqlite3_get_autocommit(db) != 0;
  const auto exec = [db](const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) RaiseSqliteError(db);
  };
  exec(own ? "BEGIN IMMEDIATE" : "SAVEPOINT astrevo_post");
  try {
    Work();
    exec(own ? "COMMIT" : "RELEASE astrevo_post");
  } catch (...) {
    if (own) {
      if (!sqlite3_get_autocommit(db)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    } else {
      sqlite3_exec(db, "ROLLBACK TO astrevo_post; RELEASE astrevo_post", nullptr, nullptr, nullptr);
    }
    throw;
  }
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
  RunInTransaction([&] {
    TSqlStatement stmt(FDatabase->Handle(), "DELETE FROM " + AnsiToUtf8(Quote(FTableName)) +
                                                " WHERE " + FRowIdName + " = ?");
    stmt.BindInt64(1, FRowIds[static_cast<size_t>(FCurrent)]);
    stmt.Step();
  });
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
  Variant v = Field.Convert(Value);
  const auto col = static_cast<size_t>(Field.FFieldNo);
  FEditValues[col] = std::move(v);
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

namespace {

struct TSearch {
  bool Null = false;    // looking for a null value
  bool Text = false;    // comparing texts rather than values
  bool Fold = false;    // ignoring case
  bool Prefix = false;  // a beginning is enough
  Variant Target;       // the value, converted to the field's type
  AnsiString TargetText;
};

bool Matches(const TField& Field, const Variant& Cell, const TSearch& S) {
  if (S.Null) return Cell.IsEmptyOrNull();
  if (Cell.IsEmptyOrNull()) return false;
  if (!S.Text) return Cell == S.Target;
  const AnsiString text = Field.TextOf(Cell);
  if (S.Fold) return FoldedEqual(text, S.TargetText, S.Prefix);
  if (S.Prefix)
    return text.size() >= S.TargetText.size() &&
           text.compare(0, S.TargetText.size(), S.TargetText) == 0;
  return text == S.TargetText;
}

enum TIndexKind { ikText, ikFoldedText, ikInteger };

}  // namespace

std::unique_ptr<TLocateIndex> TDataSet::BuildIndex(const TField& Field, int Kind) const {
  const auto& cells = FColumns[static_cast<size_t>(Field.FFieldNo)];
  auto index = std::make_unique<TLocateIndex>();
  AnsiString key;
  for (size_t r = 0; r < cells.size(); ++r) {
    const Variant& cell = cells[r];
    if (cell.IsEmptyOrNull()) continue;
    if (Kind == ikInteger) {
      const auto whole = WholeNumber(cell);
      if (!whole) return nullptr;  // mixed contents: searched by scanning
      key = IntegerKey(*whole);
    } else {
      key = Field.TextOf(cell);
      if (Kind == ikFoldedText)
        for (char& c : key) c = FoldCaseAnsi(c);
    }
    index->Add(static_cast<uint32_t>(r), key);
  }
  index->Build();
  return index;
}

const TLocateIndex* TDataSet::IndexFor(const TField& Field, TLocateOptions Options) const {
  int kind;
  if (Field.DataType() == ftString || Field.DataType() == ftBlob || Options.Contains(loPartialKey))
    kind = Options.Contains(loCaseInsensitive) ? ikFoldedText : ikText;
  else if (Field.DataType() == ftInteger)
    kind = ikInteger;
  else
    return nullptr;
  auto it = FIndexes.find({Field.FFieldNo, kind});
  if (it == FIndexes.end())
    it = FIndexes.emplace(std::make_pair(Field.FFieldNo, kind), BuildIndex(Field, kind)).first;
  return it->second.get();
}

void TDataSet::PrepareLocate(const AnsiString& FieldName, TLocateOptions Options) {
  CheckActive();
  const TField* field = FieldByName(FieldName);
  if (field->FieldKind() == fkData && RecordCount() >= LocateIndexThreshold)
    IndexFor(*field, Options);
}

int TDataSet::FindRecord(const TField& Field, const Variant& Value, TLocateOptions Options) const {
  const int n = RecordCount();
  if (n == 0) return -1;
  TSearch s;
  s.Null = Value.IsEmptyOrNull();
  s.Prefix = Options.Contains(loPartialKey);
  s.Fold = Options.Contains(loCaseInsensitive);
  s.Text = Field.DataType() == ftString || Field.DataType() == ftBlob || s.Prefix;
  if (!s.Null) {
    if (s.Text) {
      s.TargetText = Value.AsString();
      if (s.Fold) s.TargetText = FoldCaseAnsi(s.TargetText);
    } else {
      try {
        s.Target = Field.Convert(Value);
      } catch (const EConvertError&) {
        return -1;  // no record can hold a value its type cannot
      }
    }
  }

  if (Field.FieldKind() != fkData) {
    // Calculated and lookup values exist only record by record.
    for (int r = 0; r < n; ++r) {
      TRecordScope scope(const_cast<TDataSet&>(*this), r + 1);
      if (Matches(Field, Field.Value(), s)) return r;
    }
    return -1;
  }

  if (!s.Null && n >= LocateIndexThreshold) {
    if (const TLocateIndex* index = IndexFor(Field, Options)) {
      if (s.Text) return index->Find(s.TargetText, s.Prefix);
      if (const auto whole = WholeNumber(s.Target)) return index->Find(IntegerKey(*whole), false);
      return -1;  // an integer field holds no fraction
    }
  }
  const auto& cells = FColumns[static_cast<size_t>(Field.FFieldNo)];
  for (int r = 0; r < n; ++r)
    if (Matches(Field, cells[static_cast<size_t>(r)], s)) return r;
  return -1;
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
