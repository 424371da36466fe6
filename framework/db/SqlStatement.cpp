#include "framework/db/SqlStatement.h"

#include "framework/db/Database.h"
#include "framework/rtl/Exceptions.h"

namespace {

// SQLite applies some statements (PRAGMA among them) while preparing them,
// so a query is screened while it is prepared, not after.
int AllowReading(void*, int Action, const char*, const char*, const char*, const char*) {
  switch (Action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_FUNCTION:
    case SQLITE_RECURSIVE:
      return SQLITE_OK;
    default:
      return SQLITE_DENY;
  }
}

int DenyAll(void*, int, const char*, const char*, const char*, const char*) { return SQLITE_DENY; }

}  // namespace

TSqlStatement::TSqlStatement(TDatabase& Db, std::string_view Utf8Sql, bool OnlyReading) : FDb(Db) {
  if (OnlyReading) {
    PrepareQuery(Utf8Sql);
  } else if (sqlite3_prepare_v2(Db.Handle(), Utf8Sql.data(), static_cast<int>(Utf8Sql.size()),
                                &FStmt, nullptr) != SQLITE_OK) {
    sqlite3_finalize(FStmt);
    FStmt = nullptr;
    Db.RaiseError();
  }
  if (!FStmt) throw EDatabaseError("Empty SQL statement");
}

void TSqlStatement::PrepareQuery(std::string_view Utf8Sql) {
  sqlite3* db = FDb.Handle();
  const char* end = Utf8Sql.data() + Utf8Sql.size();
  const char* tail = end;
  sqlite3_set_authorizer(db, AllowReading, nullptr);
  const int rc =
      sqlite3_prepare_v2(db, Utf8Sql.data(), static_cast<int>(Utf8Sql.size()), &FStmt, &tail);
  bool refused = rc == SQLITE_AUTH;
  if (rc == SQLITE_OK && FStmt) {
    // Text after the first statement is refused, not ignored; only comments
    // and semicolons may follow.
    sqlite3_set_authorizer(db, DenyAll, nullptr);
    sqlite3_stmt* more = nullptr;
    refused =
        sqlite3_prepare_v2(db, tail, static_cast<int>(end - tail), &more, nullptr) != SQLITE_OK ||
        more != nullptr;
    sqlite3_finalize(more);
    refused = refused || sqlite3_column_count(FStmt) == 0 || !sqlite3_stmt_readonly(FStmt);
  }
  sqlite3_set_authorizer(db, nullptr, nullptr);
  if (refused) {
    sqlite3_finalize(FStmt);
    FStmt = nullptr;
    throw EDatabaseError("The SQL of a data set must be one query that only reads", SQLITE_AUTH);
  }
  if (rc != SQLITE_OK) {
    sqlite3_finalize(FStmt);
    FStmt = nullptr;
    FDb.RaiseError();
  }
}

TSqlStatement::~TSqlStatement() { sqlite3_finalize(FStmt); }

void TSqlStatement::Check(int Rc) const {
  if (Rc != SQLITE_OK) FDb.RaiseError();
}

void TSqlStatement::BindNull(int Index) { Check(sqlite3_bind_null(FStmt, Index)); }

void TSqlStatement::BindInt64(int Index, int64_t Value) {
  Check(sqlite3_bind_int64(FStmt, Index, Value));
}

void TSqlStatement::BindDouble(int Index, double Value) {
  Check(sqlite3_bind_double(FStmt, Index, Value));
}

void TSqlStatement::BindText(int Index, std::string_view Utf8) {
  Check(sqlite3_bind_text64(FStmt, Index, Utf8.data(), Utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
}

void TSqlStatement::BindBlob(int Index, std::string_view Bytes) {
  // A zero-length blob still binds as a blob, not as null.
  Check(sqlite3_bind_blob64(FStmt, Index, Bytes.empty() ? "" : Bytes.data(), Bytes.size(),
                            SQLITE_TRANSIENT));
}

bool TSqlStatement::Step() {
  const int rc = sqlite3_step(FStmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  FDb.RaiseError();
}

int TSqlStatement::ColumnCount() const { return sqlite3_column_count(FStmt); }

int TSqlStatement::ColumnType(int Column) const { return sqlite3_column_type(FStmt, Column); }

std::string TSqlStatement::ColumnName(int Column) const {
  const char* name = sqlite3_column_name(FStmt, Column);
  return name ? name : "";
}

std::string TSqlStatement::ColumnDeclType(int Column) const {
  const char* type = sqlite3_column_decltype(FStmt, Column);
  return type ? type : "";
}

int64_t TSqlStatement::ColumnInt64(int Column) const { return sqlite3_column_int64(FStmt, Column); }

double TSqlStatement::ColumnDouble(int Column) const {
  return sqlite3_column_double(FStmt, Column);
}

std::string_view TSqlStatement::ColumnText(int Column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(FStmt, Column));
  return text ? std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(FStmt, Column)))
              : std::string_view();
}

std::string_view TSqlStatement::ColumnBlob(int Column) const {
  const auto* data = static_cast<const char*>(sqlite3_column_blob(FStmt, Column));
  return data ? std::string_view(data, static_cast<size_t>(sqlite3_column_bytes(FStmt, Column)))
              : std::string_view();
}
