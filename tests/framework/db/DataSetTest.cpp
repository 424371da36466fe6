#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "framework/db/DataSet.h"
#include "framework/rtl/Exceptions.h"
#include "tests/framework/db/TestDatabase.h"

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

namespace {

class DataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    T.Db->ExecSQL(
        "CREATE TABLE city (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL UNIQUE, "
        "pop INTEGER CHECK (pop >= 0));"
        "INSERT INTO city (name, pop) VALUES ('Roma', 2800000), ('Rovigo', 51000), "
        "('Torino', 850000);");
    City = T.Table("city");
    City->Open();
  }
  TField* Name() { return City->FieldByName("name"); }

  TTestDatabase T;
  std::unique_ptr<TDataSet> City;
};

TEST_F(DataSetTest, NavigatesTheRowsInOrder) {
  EXPECT_EQ(City->State(), dsBrowse);
  EXPECT_EQ(City->RecordCount(), 3);
  EXPECT_TRUE(City->Bof());
  EXPECT_FALSE(City->Eof());
  EXPECT_EQ(Name()->AsString(), "Roma");
  City->Next();
  City->Next();
  EXPECT_EQ(City->RecNo(), 3);
  EXPECT_FALSE(City->Eof());
  City->Next();  // past the last: Eof, still on the last record
  EXPECT_TRUE(City->Eof());
  EXPECT_EQ(Name()->AsString(), "Torino");
  City->Prior();
  EXPECT_FALSE(City->Eof());
  EXPECT_EQ(City->MoveBy(-5), -1);
  EXPECT_TRUE(City->Bof());
  City->Last();
  EXPECT_TRUE(City->Eof());
  City->SetRecNo(2);
  EXPECT_EQ(Name()->AsString(), "Rovigo");
  EXPECT_THROW(City->SetRecNo(4), EDatabaseError);
}

TEST_F(DataSetTest, AnEmptyDataSetIsAtBothEnds) {
  T.Db->ExecSQL("DELETE FROM city");
  City->Close();
  City->Open();
  EXPECT_TRUE(City->Bof() && City->Eof());
  EXPECT_EQ(City->RecNo(), 0);
  EXPECT_TRUE(Name()->IsNull());
  City->Next();
  EXPECT_TRUE(City->Bof() && City->Eof());
  EXPECT_THROW(City->Delete(), EDatabaseError);
  City->Edit();  // editing nothing inserts
  EXPECT_EQ(City->State(), dsInsert);
}

TEST_F(DataSetTest, OperationsNeedTheRightState) {
  EXPECT_THROW(City->Post(), EDatabaseError);
  EXPECT_THROW(Name()->SetAsString("X"), EDatabaseError);
  EXPECT_THROW(City->SetTableName("x"), EDatabaseError) << "only while closed";
  City->Close();
  EXPECT_EQ(City->State(), dsInactive);
  EXPECT_EQ(City->RecordCount(), 0);
  EXPECT_TRUE(Name()->IsNull());
  EXPECT_THROW(City->First(), EDatabaseError);
  EXPECT_THROW(City->Edit(), EDatabaseError);
  EXPECT_THROW(City->Locate("name", "Roma", {}), EDatabaseError);
  City->Open();
  EXPECT_THROW(City->AddField("calc", fkCalculated), EDatabaseError);
}

TEST_F(DataSetTest, PostedRecordsAreInTheFileAfterReopening) {
  City->SetRecNo(2);
  City->Edit();
  EXPECT_EQ(City->State(), dsEdit);
  Name()->SetAsString("Citt\xE0");  // Windows-1252 à
  City->Post();
  EXPECT_EQ(City->State(), dsBrowse);
  City->Last();
  City->Insert();  // before Torino
  Name()->SetAsString("Pes\xE7\xE0");
  City->FieldByName("pop")->SetAsInteger(1);
  City->Post();
  EXPECT_EQ(City->RecNo(), 3);
  EXPECT_GT(City->FieldByName("id")->AsInteger(), 3) << "the key the table gave";
  City->First();
  City->Delete();
  EXPECT_EQ(Name()->AsString(), "Citt\xE0");
  City->Append();
  Name()->SetAsString("\x80uro");  // the euro sign has a Windows-1252 code of its own
  City->Post();
  EXPECT_EQ(City->RecNo(), 4);

  auto other = T.Connect();
  auto reopened = T.Table("city", other.get());
  reopened->Open();
  // A table reads back in rowid order, whatever place the insert had.
  EXPECT_EQ(Column(*reopened, "name"),
            (std::vector<AnsiString>{"Citt\xE0", "Torino", "Pes\xE7\xE0", "\x80uro"}));
  // SQLite holds UTF-8.
  auto raw = T.Query("SELECT hex(name) AS h FROM city WHERE id = 2");
  raw->Open();
  EXPECT_EQ(raw->FieldByName("h")->AsString(), "43697474C3A0");
}

TEST_F(DataSetTest, CancelForgetsTheEdit) {
  City->Next();
  City->Edit();
  Name()->SetAsString("Changed");
  City->Cancel();
  EXPECT_EQ(Name()->AsString(), "Rovigo");
  City->Insert();
  EXPECT_EQ(City->RecordCount(), 4);
  City->Cancel();
  EXPECT_EQ(City->RecordCount(), 3);
  EXPECT_EQ(Name()->AsString(), "Rovigo");
  City->Last();
  City->Append();
  City->Cancel();
  EXPECT_EQ(Name()->AsString(), "Torino");
  City->Close();
  City->Open();
  EXPECT_EQ(Column(*City, "name"), (std::vector<AnsiString>{"Roma", "Rovigo", "Torino"}));
}

TEST_F(DataSetTest, MovingOrClosingPostsAModifiedRecord) {
  City->Edit();
  Name()->SetAsString("Roma Capitale");
  City->Next();
  EXPECT_EQ(City->State(), dsBrowse);
  City->Edit();
  City->Next();  // unmodified: cancelled, nothing written
  City->Insert();
  Name()->SetAsString("Asti");
  City->Close();
  City->Open();
  EXPECT_EQ(Column(*City, "name"),
            (std::vector<AnsiString>{"Roma Capitale", "Rovigo", "Torino", "Asti"}));
}

// Every way Post can fail must leave the user's values in place, ready for
// another try.
enum TFailure { fNotNull, fUnique, fCheck, fLocked, fReadOnlyFile };

class FailedPostTest : public DataSetTest, public ::testing::WithParamInterface<TFailure> {};

TEST_P(FailedPostTest, KeepsTheEditAndItsValues) {
  std::unique_ptr<TDatabase> locker, readOnly;
  if (GetParam() == fLocked) {
    locker = T.Connect();
    locker->ExecSQL("BEGIN IMMEDIATE; UPDATE city SET pop = pop WHERE id = 3;");
  }
  if (GetParam() == fReadOnlyFile) {
    readOnly = T.Connect(true);
    City = T.Table("city", readOnly.get());
    City->Open();
  }
  City->Insert();
  if (GetParam() != fNotNull) Name()->SetAsString(GetParam() == fUnique ? "Roma" : "Bra");
  City->FieldByName("pop")->SetAsInteger(GetParam() == fCheck ? -1 : 29000);

  const char* expected[] = {"NOT NULL constraint failed: city.name",
                            "UNIQUE constraint failed: city.name", "CHECK constraint failed",
                            "database is locked", "attempt to write a readonly database"};
  EXPECT_THAT([&] { City->Post(); },
              ThrowsMessage<EDatabaseError>(HasSubstr(expected[GetParam()])));
  EXPECT_EQ(City->State(), dsInsert);
  EXPECT_EQ(City->FieldByName("pop")->AsInteger(), GetParam() == fCheck ? -1 : 29000);
  EXPECT_EQ(City->RecordCount(), 4);

  if (GetParam() == fReadOnlyFile) return;
  if (locker) locker->ExecSQL("COMMIT");
  Name()->SetAsString("Bra");
  City->FieldByName("pop")->SetAsInteger(29000);
  City->Post();
  auto check = T.Query("SELECT count(*) AS n FROM city WHERE name = 'Bra' AND pop = 29000");
  check->Open();
  EXPECT_EQ(check->FieldByName("n")->AsInteger(), 1);
}

INSTANTIATE_TEST_SUITE_P(Failures, FailedPostTest,
                         ::testing::Values(fNotNull, fUnique, fCheck, fLocked, fReadOnlyFile));

TEST_F(DataSetTest, AFailedUpdateLeavesTheRowAndTheEdit) {
  City->Edit();
  Name()->SetAsString("Torino");
  EXPECT_THROW(City->Post(), EDatabaseError);
  EXPECT_EQ(City->State(), dsEdit);
  EXPECT_EQ(Name()->AsString(), "Torino");
  City->Cancel();
  EXPECT_EQ(Name()->AsString(), "Roma");
  // A record deleted behind the data set's back is reported, not silently lost.
  T.Db->ExecSQL("DELETE FROM city WHERE name = 'Roma'");
  City->Edit();
  Name()->SetAsString("Ostia");
  EXPECT_THAT([&] { City->Post(); }, ThrowsMessage<EDatabaseError>(HasSubstr("Record not found")));
  EXPECT_EQ(City->State(), dsEdit);
}

TEST_F(DataSetTest, PostNestsInATransactionTheApplicationOpened) {
  T.Db->ExecSQL("BEGIN");
  City->Edit();
  Name()->SetAsString("Ostia");
  City->Post();
  City->Edit();
  Name()->SetAsString("Rovigo");
  EXPECT_THROW(City->Post(), EDatabaseError);
  T.Db->ExecSQL("ROLLBACK");
  auto check = T.Query("SELECT name FROM city WHERE id = 1");
  check->Open();
  EXPECT_EQ(check->FieldByName("name")->AsString(), "Roma");
}

TEST_F(DataSetTest, ReadOnlyDataSetsRefuseToEdit) {
  T.Db->ExecSQL(
      "CREATE VIEW big AS SELECT * FROM city WHERE pop > 100000;"
      "CREATE TABLE code (c TEXT PRIMARY KEY) WITHOUT ROWID; INSERT INTO code VALUES ('x');");
  auto query = T.Query("SELECT name FROM city");
  auto view = T.Table("big");
  auto noRowId = T.Table("code");
  auto flagged = T.Table("city");
  flagged->SetReadOnly(true);
  for (TDataSet* ds : {query.get(), view.get(), noRowId.get(), flagged.get()}) {
    ds->Open();
    EXPECT_FALSE(ds->CanModify());
    EXPECT_THROW(ds->Edit(), EDatabaseError);
    EXPECT_THROW(ds->Append(), EDatabaseError);
    EXPECT_THROW(ds->Delete(), EDatabaseError);
    EXPECT_EQ(ds->State(), dsBrowse);
  }
}

TEST_F(DataSetTest, OpeningRunsOnlyQueries) {
  auto writer = T.Query("DELETE FROM city");
  EXPECT_THROW(writer->Open(), EDatabaseError);
  EXPECT_FALSE(writer->Active());
  City->Close();
  City->Open();
  EXPECT_EQ(City->RecordCount(), 3);
  auto missing = T.Table("nowhere");
  EXPECT_THAT([&] { missing->Open(); },
              ThrowsMessage<EDatabaseError>(HasSubstr("no such table: nowhere")));
}

TEST_F(DataSetTest, LookupFindsWithoutMoving) {
  EXPECT_EQ(City->Lookup("id", 3, "name").AsString(), "Torino");
  EXPECT_EQ(City->Lookup("name", "Rovigo", "pop").AsInteger(), 51000);
  EXPECT_TRUE(City->Lookup("id", 9, "name").IsNull());
  EXPECT_EQ(City->RecNo(), 1);
  EXPECT_THAT([&] { City->Lookup("code", 1, "name"); },
              ThrowsMessage<EDatabaseError>(HasSubstr("Field 'code' not found")));
}

// Locate over every option, with the index (threshold 0) and by scanning.
struct TLocateCase {
  const char* Field;
  Variant Value;
  TLocateOptions Options;
  int Found;  // record number, 0 for none
};

class LocateTest : public ::testing::TestWithParam<std::tuple<TLocateCase, bool>> {
 protected:
  void SetUp() override {
    T.Db->ExecSQL(
        "CREATE TABLE word (name TEXT, code INTEGER);"
        "INSERT INTO word VALUES ('Rovigo', 10), ('Roma', 20), ('CITT\xC0', 30), "
        "('citt\xE0 di castello', 40), ('\xC8lite', 50), ('\xE8remo', 60), (NULL, 70), "
        "('rovereto', 80);");
    Word = T.Table("word");
    Word->LocateIndexThreshold = std::get<1>(GetParam()) ? 0 : INT_MAX;
    Word->Open();
  }
  TTestDatabase T;
  std::unique_ptr<TDataSet> Word;
};

TEST_P(LocateTest, FindsTheFirstMatchingRecordOrStays) {
  const TLocateCase& c = std::get<0>(GetParam());
  Word->SetRecNo(4);
  EXPECT_EQ(Word->Locate(c.Field, c.Value, c.Options), c.Found != 0);
  EXPECT_EQ(Word->RecNo(), c.Found ? c.Found : 4);
}

const TLocateOptions kNone, kCase{loCaseInsensitive}, kPart{loPartialKey},
    kBoth{loCaseInsensitive, loPartialKey};

INSTANTIATE_TEST_SUITE_P(
    Options, LocateTest,
    ::testing::Combine(
        ::testing::Values(
            TLocateCase{"name", "Roma", kNone, 2}, TLocateCase{"name", "roma", kNone, 0},
            TLocateCase{"name", "roma", kCase, 2}, TLocateCase{"name", "Ro", kNone, 0},
            TLocateCase{"NAME", "Ro", kPart, 1},  // the first in the data set's order
            TLocateCase{"name", "ro", kPart, 8}, TLocateCase{"name", "rO", kBoth, 1},
            TLocateCase{"name", "citt\xE0", kCase, 3}, TLocateCase{"name", "citt\xE0", kPart, 4},
            TLocateCase{"name", "CITT\xC0 ", kBoth, 4}, TLocateCase{"name", "\xE8", kBoth, 5},
            TLocateCase{"name", "\xE8r", kPart, 6}, TLocateCase{"name", "\xC8R", kBoth, 6},
            TLocateCase{"name", "x", kBoth, 0}, TLocateCase{"name", "", kPart, 1},
            TLocateCase{"name", "Rovigo!", kBoth, 0},
            TLocateCase{"name", Variant::Null(), kNone, 7}, TLocateCase{"code", 30, kNone, 3},
            TLocateCase{"code", "40", kNone, 4}, TLocateCase{"code", 35, kNone, 0},
            TLocateCase{"code", 30.5, kNone, 0}, TLocateCase{"code", "abc", kBoth, 0},
            TLocateCase{"code", "6", kPart, 6}),
        ::testing::Bool()));

TEST(Locate, TheIndexFollowsEveryChange) {
  TTestDatabase t;
  t.Db->ExecSQL("CREATE TABLE w (name TEXT); INSERT INTO w VALUES ('b'), ('c'), ('d');");
  auto w = t.Table("w");
  w->LocateIndexThreshold = 0;
  w->Open();
  const TLocateOptions both{loCaseInsensitive, loPartialKey};
  w->PrepareLocate("name", both);
  EXPECT_FALSE(w->Locate("name", "A", both));
  w->Last();
  w->Edit();
  w->FieldByName("name")->SetAsString("a");
  w->Post();
  EXPECT_TRUE(w->Locate("name", "A", both));
  EXPECT_EQ(w->RecNo(), 3);
  w->First();
  w->Insert();
  w->FieldByName("name")->SetAsString("ab");
  w->Post();
  w->Last();
  EXPECT_TRUE(w->Locate("name", "A", both));
  EXPECT_EQ(w->RecNo(), 1);
  w->Delete();
  EXPECT_TRUE(w->Locate("name", "A", both));
  EXPECT_EQ(w->RecNo(), 3);
  EXPECT_THAT([&] { w->Locate("nome", "A", both); },
              ThrowsMessage<EDatabaseError>(HasSubstr("Field 'nome' not found")));
}

}  // namespace
