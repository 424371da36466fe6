#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <fstream>
#include <iterator>
#include <string>

#include "framework/db/DataSet.h"
#include "framework/db/Database.h"
#include "framework/rtl/Exceptions.h"
#include "tests/support/TestDatabase.h"

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

namespace {

TEST(Database, ReportsSqliteErrors) {
  TTestDatabase t;
  TDatabase db(nullptr);
  EXPECT_THROW(db.Open(), EDatabaseError) << "no name";
  db.SetDatabaseName(t.Path() + "/no/such/folder.db");
  EXPECT_EQ(ErrorCodeOf([&] { db.Open(); }), SQLITE_CANTOPEN);
  EXPECT_FALSE(db.Connected());
  // A missing file is created only when asked for.
  for (bool readOnly : {true, false}) {
    auto missing = t.Connect(readOnly);
    missing->SetDatabaseName(t.Path() + ".missing");
    EXPECT_EQ(ErrorCodeOf([&] { missing->Open(); }), SQLITE_CANTOPEN);
    EXPECT_FALSE(QFile::exists(AnsiToQString(t.Path() + ".missing")));
  }
  db.SetDatabaseName(t.Path() + ".new");
  db.CreateIfMissing = true;
  db.Open();
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

TEST(Database, AScriptIsAllOrNothing) {
  TTestDatabase t;
  t.Db->ExecSQL("CREATE TABLE c (n INTEGER NOT NULL)");
  EXPECT_EQ(
      ErrorCodeOf([&] { t.Db->ExecSQL("INSERT INTO c VALUES (1); INSERT INTO c VALUES (NULL)"); }),
      SQLITE_CONSTRAINT_NOTNULL);
  EXPECT_EQ(t.Scalar("SELECT count(*) FROM c"), "0");
}

// A file with one damaged page: of the table, or of an index, which a
// reading of the table does not touch.
struct TDamage {
  const char* Name;
  const char* Object;
  bool ReadFails;
};

class DamagedFileTest : public ::testing::TestWithParam<TDamage> {
 protected:
  void SetUp() override {
    T.Db->ExecSQL(
        "CREATE TABLE c (n INTEGER, s TEXT); CREATE INDEX c_s ON c (s);"
        "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 500) "
        "INSERT INTO c SELECT i, printf('%0100d', i) FROM k;");
    const long long page =
        std::stoll(T.Scalar(std::string("SELECT rootpage FROM sqlite_master WHERE name = '") +
                            GetParam().Object + "'"));
    const long long size = std::stoll(T.Scalar("PRAGMA page_size"));
    T.Db->Close();
    std::fstream file(T.Path(), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp((page - 1) * size);
    file.write("\x7F\x7F\x7F\x7F", 4);  // no page type has this flag
  }
  std::string Bytes() const {
    std::ifstream file(T.Path(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  TTestDatabase T;
};

TEST_P(DamagedFileTest, DoesNotOpen) {
  EXPECT_EQ(ErrorCodeOf([&] { T.Db->Open(); }), SQLITE_CORRUPT);
  EXPECT_FALSE(T.Db->Connected());
}

TEST_P(DamagedFileTest, TooLargeToCheckAtOnceRefusesWrites) {
  const std::string before = Bytes();
  T.Db->OpenCheckLimit = 0;
  T.Db->Open();
  auto c = T.Table("c");
  const int read = ErrorCodeOf([&] { c->Open(); });
  EXPECT_EQ(read == -1 ? -1 : read & 0xff, GetParam().ReadFails ? SQLITE_CORRUPT : -1);
  if (c->Active()) {  // the check before the first write finds the damage
    c->Edit();
    c->FieldByName("n")->SetAsInteger(7);
    EXPECT_EQ(ErrorCodeOf([&] { c->Post(); }), SQLITE_CORRUPT);
    EXPECT_EQ(c->State(), dsEdit);
    c->Cancel();
  }
  EXPECT_TRUE(T.Db->Damaged());
  EXPECT_EQ(ErrorCodeOf([&] { T.Db->ExecSQL("INSERT INTO c VALUES (1, 'x')"); }), SQLITE_CORRUPT);
  T.Db->Close();
  EXPECT_EQ(Bytes(), before);
}

INSTANTIATE_TEST_SUITE_P(Pages, DamagedFileTest,
                         ::testing::Values(TDamage{"Table", "c", true},
                                           TDamage{"Index", "c_s", false}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
