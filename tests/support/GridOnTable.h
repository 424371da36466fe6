#pragma once
// A data grid shown over a table of a real SQLite file, for the grids' tests.
#include <gtest/gtest.h>

#include <memory>

#include "framework/db/DataSource.h"
#include "framework/forms/Form.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Typing.h"

template <class Grid>
class TGridOnTable : public testing::Test {
 protected:
  // Runs Sql, opens the table Name and shows Grid over it, Width pixels wide.
  void Open(const AnsiString& Sql, const AnsiString& Name, int Width = 300) {
    db.Db->ExecSQL(Sql);
    table = db.Table(Name);
    table->Open();
    source.SetDataSet(table.get());
    grid = new Grid(&form);
    grid->setGeometry(0, 0, Width, 200);
    grid->SetDataSource(&source);
  }
  void Show() { ShowActive(&form); }

  TRecordingServices services;
  TTestDatabase db;
  std::unique_ptr<TDataSet> table;
  TDataSource source{nullptr};
  TForm form{nullptr};
  Grid* grid = nullptr;
};
