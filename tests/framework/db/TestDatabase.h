#pragma once
// A SQLite file in a fresh temporary folder, with the data sets the tests
// open on it.
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "framework/db/DataSet.h"
#include "framework/db/Database.h"
#include "framework/rtl/CodePage.h"

struct TTestDatabase {
  QTemporaryDir Dir;
  std::unique_ptr<TDatabase> Db = Connect();

  AnsiString Path() const { return QStringToAnsi(Dir.filePath("test.db")); }

  // Another connection to the same file, as a second program would have.
  std::unique_ptr<TDatabase> Connect(bool ReadOnly = false) const {
    auto db = std::make_unique<TDatabase>(nullptr);
    db->SetDatabaseName(Path());
    db->SetReadOnly(ReadOnly);
    db->SetBusyTimeout(0);
    return db;
  }

  std::unique_ptr<TDataSet> Table(const AnsiString& Name, TDatabase* On = nullptr) const {
    auto ds = std::make_unique<TDataSet>(nullptr);
    ds->SetDatabase(On ? On : Db.get());
    ds->SetTableName(Name);
    return ds;
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
