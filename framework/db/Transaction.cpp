#include "framework/db/Transaction.h"

#include <sqlite3.h>

#include "framework/db/Database.h"
#include "framework/rtl/Exceptions.h"

namespace {

void Exec(TDatabase& Db, const char* Sql) {
  if (sqlite3_exec(Db.Handle(), Sql, nullptr, nullptr, nullptr) != SQLITE_OK) Db.RaiseError();
}

}  // namespace

TTransaction::TTransaction(TDatabase& Database, bool Immediate) : FDatabase(Database) {
  if (!Database.Connected()) throw EDatabaseError("Database not connected");
  if (Immediate) Database.CheckWritable();
  FOwn = Immediate && sqlite3_get_autocommit(Database.Handle()) != 0;
  Exec(Database, FOwn ? "BEGIN IMMEDIATE" : "SAVEPOINT astrevo_write");
}

TTransaction::~TTransaction() {
  if (!FOpen) return;
  sqlite3* db = FDatabase.Handle();
  // SQLite may have rolled the whole transaction back itself (a full disk,
  // an interrupted statement): then there is nothing left to undo.
  if (sqlite3_get_autocommit(db)) return;
  if (FOwn)
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  else
    sqlite3_exec(db, "ROLLBACK TO astrevo_write; RELEASE astrevo_write", nullptr, nullptr, nullptr);
}

void TTransaction::Commit() {
  Exec(FDatabase, FOwn ? "COMMIT" : "RELEASE astrevo_write");
  FOpen = false;
}
