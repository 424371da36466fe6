#pragma once
// A SQLite file in a fresh temporary folder, with the data sets the tests
// open on it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "framework/db/DataSet.h"
#include "framework/db/Database.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Exceptions.h"

struct TTestDatabase {
  QTemporaryDir Dir;
  std::unique_ptr<TDatabase> Db = Connect(false, true);

  AnsiString Path() const { return QStringToAnsi(Dir.filePath("test.db")); }

  // Another connection to the same file, as a second program would have.
  std::unique_ptr<TDatabase> Connect(bool ReadOnly = false, bool Create = false) const {
    auto db = std::make_unique<TDatabase>(nullptr);
    db->SetDatabaseName(Path());
    db->SetReadOnly(ReadOnly);
    db->CreateIfMissing = Create;
    db->SetBusyTimeout(0);
    return db;
  }

  std::unique_ptr<TDataSet> Table(const AnsiString& Name, TDatabase* On = nullptr) const {
    auto ds = std::make_unique<TDataSet>(nullptr);
    ds->SetDatabase(On ? On : Db.get());
    ds->SetTableName(Name);
    return ds;
  }

  // Straight to SQLite, in UTF-8 (for names Windows-1252 cannot hold), past
  // every check of the library: what the file holds.
  void ExecUtf8(const std::string& Sql) const {
    Db->Open();
    ASSERT_EQ(sqlite3_exec(Db->Handle(), Sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(Db->Handle());
  }
  // The first column of the first row as text, "" for none.
  std::string Scalar(const std::string& Sql) const {
    Db->Open();
    sqlite3_stmt* stmt = nullptr;
    std::string text;
    if (sqlite3_prepare_v2(Db->Handle(), Sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0))
      text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    return text;
  }

  std::unique_ptr<TDataSet> Query(const AnsiString& SQL) const {
    auto ds = std::make_unique<TDataSet>(nullptr);
    ds->SetDatabase(Db.get());
    ds->SetSQL(SQL);
    return ds;
  }
};

// The values of one field over all records, from the first.
inline std::vector<AnsiString> Column(TDataSet& DataSet, const AnsiString& FieldName) {
  std::vector<AnsiString> values;
  for (DataSet.First(); !DataSet.Eof(); DataSet.Next())
    values.push_back(DataSet.FieldByName(FieldName)->AsString());
  return values;
}

// The code of the EDatabaseError that Action throws; -1 when it throws none.
inline int ErrorCodeOf(const std::function<void()>& Action) {
  try {
    Action();
  } catch (const EDatabaseError& e) {
    return e.ErrorCode;
  }
  return -1;
}
