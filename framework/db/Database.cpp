#include "framework/db/Database.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "framework/db/DataSet.h"
#include "framework/db/SqlStatement.h"
#include "framework/db/SqliteDialect.h"
#include "framework/db/Transaction.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Exceptions.h"

namespace {

// Statements that steer transactions, or that SQLite refuses or ignores
// inside one: a script holding any of them runs as it is written.
bool SteersTransactions(const std::string& Keyword) {
  for (const char* k : {"BEGIN", "COMMIT", "END", "ROLLBACK", "SAVEPOINT", "RELEASE", "VACUUM",
                        "ATTACH", "DETACH", "PRAGMA"})
    if (Keyword == k) return true;
  return false;
}

}  // namespace

TDatabase::TDatabase(TComponent* AOwner) : TComponent(AOwner) {}

TDatabase::~TDatabase() {
  // Data sets may outlive their database: they close and forget it.
  for (TDataSet* ds : std::vector<TDataSet*>(FDataSets)) ds->DatabaseDestroyed();
  if (FDb) sqlite3_close_v2(FDb);
}

void TDatabase::SetDatabaseName(const AnsiString& Value) {
  if (Value == FDatabaseName) return;
  Close();
  FDatabaseName = Value;
}

void TDatabase::SetReadOnly(bool Value) {
  if (Value == FReadOnly) return;
  Close();
  FReadOnly = Value;
}

void TDatabase::SetBusyTimeout(int Milliseconds) {
  FBusyTimeout = std::max(0, Milliseconds);
  if (FDb) sqlite3_busy_timeout(FDb, FBusyTimeout);
}

void TDatabase::SetConnected(bool Value) {
  if (Value)
    Open();
  else
    Close();
}

void TDatabase::Open() {
  if (FDb) return;
  if (FDatabaseName.empty()) throw EDatabaseError("No database name given");
  int flags = FReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  if (CreateIfMissing && !FReadOnly) flags |= SQLITE_OPEN_CREATE;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(AnsiToUtf8(FDatabaseName).c_str(), &db, flags, nullptr) != SQLITE_OK) {
    const AnsiString msg = Utf8ToAnsi(db ? sqlite3_errmsg(db) : "out of memory");
    const int code = db ? sqlite3_extended_errcode(db) : SQLITE_NOMEM;
    sqlite3_close_v2(db);
    throw EDatabaseError(msg + ": " + FDatabaseName, code);
  }
  FDb = db;
  FDamaged = false;
  FDamage.clear();
  try {
    Configure();
  } catch (...) {
    sqlite3_close_v2(FDb);
    FDb = nullptr;
    throw;
  }
}

void TDatabase::Configure() {
  sqlite3_extended_result_codes(FDb, 1);
  sqlite3_busy_timeout(FDb, FBusyTimeout);
  sqlite3_db_config(FDb, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
  if (sqlite3_exec(FDb, "PRAGMA foreign_keys = ON; PRAGMA cell_size_check = ON", nullptr, nullptr,
                   nullptr) != SQLITE_OK)
    RaiseError();
  // Reading the size reads the header and the schema: a file that is no
  // database, or whose schema is damaged, fails here.
  int64_t bytes = 0;
  {
    TSqlStatement size(*this,
                       "SELECT page_count * page_size FROM pragma_page_count, "
                       "pragma_page_size, (SELECT count(*) FROM sqlite_master)");
    if (size.Step()) bytes = size.ColumnInt64(0);
  }
  FCheckPending = true;
  if (bytes <= OpenCheckLimit) CheckFile(true);
}

void TDatabase::CheckFile(bool Thorough) {
  FCheckPending = false;
  AnsiString result;
  {
    TSqlStatement check(*this, Thorough ? "PRAGMA integrity_check(1)" : "PRAGMA quick_check(1)");
    if (check.Step()) result = Utf8ToAnsi(check.ColumnText(0));
  }
  if (result != "ok") {
    FDamaged = true;
    FDamage = result;
    RaiseDamaged();
  }
}

void TDatabase::RaiseDamaged() const {
  throw EDatabaseError(
      "Database file " + FDatabaseName + " is damaged (" + FDamage + "); it cannot be changed",
      SQLITE_CORRUPT);
}

void TDatabase::RaiseError() {
  const int code = FDb ? sqlite3_extended_errcode(FDb) : SQLITE_NOMEM;
  const AnsiString msg = Utf8ToAnsi(FDb ? sqlite3_errmsg(FDb) : "out of memory");
  if ((code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB) {
    if (!FDamaged) FDamage = msg;
    FDamaged = true;
  }
  throw EDatabaseError(msg, code);
}

void TDatabase::CheckWritable() {
  if (!FDb) throw EDatabaseError("Database not connected");
  if (FDamaged) RaiseDamaged();
  if (FCheckPending) CheckFile(false);
}

bool TDatabase::CanWrite() const {
  return FDb && !FDamaged && !FReadOnly && sqlite3_db_readonly(FDb, "main") == 0;
}

void TDatabase::Close() {
  if (!FDb) return;
  // Closing a data set can post a pending edit, which may throw: the
  // connection stays open until every data set has closed.
  for (TDataSet* ds : std::vector<TDataSet*>(FDataSets)) ds->Close();
  sqlite3_close_v2(FDb);
  FDb = nullptr;
}

void TDatabase::ExecSQL(const AnsiString& SQL) {
  Open();
  const std::string sql = AnsiToUtf8(SQL);
  const std::vector<std::string_view> statements = SplitScript(sql);
  int count = 0;
  bool steers = false;
  for (std::string_view s : statements) {
    const std::string keyword = LeadingKeyword(s);
    count += !keyword.empty();
    steers = steers || SteersTransactions(keyword);
  }
  std::optional<TTransaction> all;
  if (count > 1 && !steers) all.emplace(*this, false);
  for (std::string_view s : statements) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(FDb, s.data(), static_cast<int>(s.size()), &raw, nullptr) != SQLITE_OK)
      RaiseError();
    if (!raw) continue;  // only a comment
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> stmt(raw, sqlite3_finalize);
    if (!sqlite3_stmt_readonly(raw)) CheckWritable();
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) RaiseError();
  }
  if (all) all->Commit();
}

void TDatabase::AttachDataSet(TDataSet* DataSet) {
  if (std::find(FDataSets.begin(), FDataSets.end(), DataSet) == FDataSets.end())
    FDataSets.push_back(DataSet);
}

void TDatabase::DetachDataSet(TDataSet* DataSet) {
  FDataSets.erase(std::remove(FDataSets.begin(), FDataSets.end(), DataSet), FDataSets.end());
}
