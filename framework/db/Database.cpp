#include "framework/db/Database.h"

#include <algorithm>

#include "framework/db/DataSet.h"
#include "framework/db/SqlStatement.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Exceptions.h"

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
  const int flags = FReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(AnsiToUtf8(FDatabaseName).c_str(), &db, flags, nullptr) != SQLITE_OK) {
    const AnsiString msg = Utf8ToAnsi(db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_close_v2(db);
    throw EDatabaseError(msg + ": " + FDatabaseName);
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, FBusyTimeout);
  FDb = db;
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
  char* err = nullptr;
  if (sqlite3_exec(FDb, AnsiToUtf8(SQL).c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    const AnsiString msg = Utf8ToAnsi(err ? err : sqlite3_errmsg(FDb));
    sqlite3_free(err);
    throw EDatabaseError(msg);
  }
}

void TDatabase::AttachDataSet(TDataSet* DataSet) {
  if (std::find(FDataSets.begin(), FDataSets.end(), DataSet) == FDataSets.end())
    FDataSets.push_back(DataSet);
}

void TDatabase::DetachDataSet(TDataSet* DataSet) {
  FDataSets.erase(std::remove(FDataSets.begin(), FDataSets.end(), DataSet), FDataSets.end());
}
