#include "framework/db/SqlStatement.h"

#include "framework/rtl/CodePage.h"
#include "framework/rtl/Exceptions.h"

void RaiseSqliteError(sqlite3* Db) {
  throw EDatabaseError(Utf8ToAnsi(Db ? sqlite3_errmsg(Db) : "out of memory"));
}

TSqlStatement::TSqlStatement(sqlite3* Db, std::string_view Utf8Sql) : FDb(Db) {
  if (sqlite3_prepare_v2(Db, Utf8Sql.data(), static_cast<int>(Utf8Sql.size()), &FStmt, nullptr) !=
      SQLITE_OK) {
    sqlite3_finalize(FStmt);
    RaiseSqliteError(Db);
  }
  if (!FStmt) throw EDatabaseError("Empty SQL statement");
}

TSqlStatement::~TSqlStatement() { sqlite3_finalize(FStmt); }

void TSqlStatement::Check(int Rc) const {
  if (Rc != SQLITE_OK) RaiseSqliteError(FDb);
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
  RaiseSqliteError(FDb);
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
