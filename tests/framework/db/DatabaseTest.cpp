#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/db/Database.h"
#include "framework/rtl/Exceptions.h"
#include "tests/framework/db/TestDatabase.h"

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

namespace {

TEST(Database, ReportsSqliteErrors) {
  TTestDatabase t;
  TDatabase db(nullptr);
  EXPECT_THROW(db.Open(), EDatabaseError) << "no name";
  db.SetDatabaseName(t.Path() + "/no/such/folder.db");
  EXPECT_THAT([&] { db.Open(); },
              ThrowsMessage<EDatabaseError>(HasSubstr("unable to open database file")));
  EXPECT_FALSE(db.Connected());
  auto missing = t.Connect(true);
  missing->SetDatabaseName(t.Path() + ".missing");
  EXPECT_THROW(missing->Open(), EDatabaseError) << "read-only never creates the file";
  EXPECT_THAT([&] { t.Db->ExecSQL("SELEC 1"); },
              ThrowsMessage<EDatabaseError>(HasSubstr("syntax error")));
}

TEST(Database, DataSetsForgetADestroyedDatabase) {
  TTestDatabase t;
  t.Db->ExecSQL("CREATE TABLE c (n INTEGER); INSERT INTO c VALUES (1);");
  auto ds = t.Table("c");
  ds->Open();
  ds->Edit();
  ds->FieldByName("n")->SetAsInteger(2);
  t.Db.reset();
  EXPECT_FALSE(ds->Active());
  EXPECT_EQ(ds->Database(), nullptr);
  EXPECT_THAT([&] { ds->Open(); }, ThrowsMessage<EDatabaseError>(HasSubstr("No database")));
}

TEST(Database, CloseStaysConnectedWhileAPendingEditCannotBePosted) {
  TTestDatabase t;
  t.Db->ExecSQL("CREATE TABLE c (n INTEGER NOT NULL); INSERT INTO c VALUES (1);");
  auto ds = t.Table("c");
  ds->Open();
  ds->Edit();
  ds->FieldByName("n")->Clear();
  EXPECT_THROW(t.Db->Close(), EDatabaseError);
  EXPECT_TRUE(t.Db->Connected());
  EXPECT_EQ(ds->State(), dsEdit);
  ds->FieldByName("n")->SetAsInteger(5);
  t.Db->Close();
  EXPECT_FALSE(ds->Active());
  ds->Open();  // connects again
  EXPECT_EQ(ds->FieldByName("n")->AsInteger(), 5);
}

}  // namespace
