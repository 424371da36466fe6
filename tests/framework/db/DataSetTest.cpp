#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <functional>

#include "framework/db/DataSet.h"
#include "framework/rtl/Exceptions.h"
#include "tests/support/TestDatabase.h"

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

namespace {

class DataSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    T.Db->ExecSQL(
        "CREATE TABLE region (id INTEGER PRIMARY KEY); INSERT INTO region VALUES (1);"
        "CREATE TABLE city (id INTEGER PRIMARY KEY, name VARCHAR(40) NOT NULL UNIQUE, "
        "pop INTEGER CHECK (pop >= 0), region INTEGER REFERENCES region (id));"
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
struct TFailure {
  const char* Name;
  int Code;
};

class FailedPostTest : public DataSetTest, public ::testing::WithParamInterface<TFailure> {};

TEST_P(FailedPostTest, KeepsTheEditAndItsValues) {
  const AnsiString failure = GetParam().Name;
  std::unique_ptr<TDatabase> locker;
  if (failure == "locked") {
    locker = T.Connect();
    locker->ExecSQL("BEGIN IMMEDIATE; UPDATE city SET pop = pop WHERE id = 3;");
  }
  City->Insert();
  if (failure != "null") Name()->SetAsString(failure == "unique" ? "Roma" : "Bra");
  City->FieldByName("pop")->SetAsInteger(failure == "check" ? -1 : 29000);
  if (failure == "foreign") City->FieldByName("region")->SetAsInteger(2);

  EXPECT_EQ(ErrorCodeOf([&] { City->Post(); }), GetParam().Code);
  EXPECT_EQ(City->State(), dsInsert);
  EXPECT_EQ(City->FieldByName("pop")->AsInteger(), failure == "check" ? -1 : 29000);
  EXPECT_EQ(City->RecordCount(), 4);

  if (locker) locker->ExecSQL("COMMIT");
  Name()->SetAsString("Bra");
  City->FieldByName("pop")->SetAsInteger(29000);
  City->FieldByName("region")->Clear();
  City->Post();
  auto check = T.Query("SELECT count(*) AS n FROM city WHERE name = 'Bra' AND pop = 29000");
  check->Open();
  EXPECT_EQ(check->FieldByName("n")->AsInteger(), 1);
}

INSTANTIATE_TEST_SUITE_P(Failures, FailedPostTest,
                         ::testing::Values(TFailure{"null", SQLITE_CONSTRAINT_NOTNULL},
                                           TFailure{"unique", SQLITE_CONSTRAINT_UNIQUE},
                                           TFailure{"check", SQLITE_CONSTRAINT_CHECK},
                                           TFailure{"foreign", SQLITE_CONSTRAINT_FOREIGNKEY},
                                           TFailure{"locked", SQLITE_BUSY}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(DataSetTest, AFailedUpdateLeavesTheRowAndTheEdit) {
  City->Edit();
  Name()->SetAsString("Torino");
  EXPECT_THROW(City->Post(), EDatabaseError);
  EXPECT_EQ(City->State(), dsEdit);
  EXPECT_EQ(Name()->AsString(), "Torino");
  City->Cancel();
  EXPECT_EQ(Name()->AsString(), "Roma");
}

// What another program does between our reading a record and writing it:
// our write must fail rather than undo or hit the wrong record.
struct TInterference {
  const char* Name;
  const char* Sql;
  bool Delete;  // our Delete, rather than an Edit and Post
};

const char* const kReuse =
    "DELETE FROM city WHERE id = 3; INSERT INTO city (id, name, pop) VALUES (3, 'Asti', 850000)";

class ConflictTest : public DataSetTest, public ::testing::WithParamInterface<TInterference> {};

TEST_P(ConflictTest, OurWriteFailsAndTheirsStays) {
  City->Last();  // Torino, pop 850000, rowid 3
  T.Connect()->ExecSQL(GetParam().Sql);
  const std::string theirs = T.Scalar("SELECT group_concat(quote(name) || pop) FROM city");
  if (GetParam().Delete) {
    EXPECT_EQ(ErrorCodeOf([&] { City->Delete(); }), SQLITE_NOTFOUND);
    EXPECT_EQ(City->RecordCount(), 3);
  } else {
    City->Edit();
    TField* pop = City->FieldByName("pop");
    pop->SetAsInteger(pop->AsInteger() - 30);
    EXPECT_EQ(ErrorCodeOf([&] { City->Post(); }), SQLITE_NOTFOUND);
    EXPECT_EQ(City->State(), dsEdit);
    EXPECT_EQ(pop->AsInteger(), 849970);
  }
  EXPECT_EQ(T.Scalar("SELECT group_concat(quote(name) || pop) FROM city"), theirs);
}

INSTANTIATE_TEST_SUITE_P(
    Interferences, ConflictTest,
    ::testing::Values(
        TInterference{"AddedToTheField", "UPDATE city SET pop = pop + 50 WHERE id = 3", false},
        TInterference{"ChangedAnotherField", "UPDATE city SET name = 'Turin' WHERE id = 3", false},
        TInterference{"Deleted", "DELETE FROM city WHERE id = 3", false},
        TInterference{"RowIdReused", kReuse, false},
        TInterference{"RowIdReusedBeforeOurDelete", kReuse, true}),
    [](const auto& Info) { return std::string(Info.param.Name); });

// Two programs adding 1 to shared counters, each reading its counter anew
// after a conflict: every increment arrives.
int IncrementCounters(const TTestDatabase& T, int Posts) {
  alarm(60);  // a child that hangs ends
  try {
    auto db = T.Connect();
    db->SetBusyTimeout(10000);
    auto counter = T.Table("counter", db.get());
    counter->Open();
    for (int done = 0; done < Posts;) {
      counter->SetRecNo(done % 2 + 1);
      counter->Edit();
      TField* n = counter->FieldByName("n");
      n->SetAsInteger(n->AsInteger() + 1);
      try {
        counter->Post();
        ++done;
      } catch (const EDatabaseError& e) {
        if (e.ErrorCode != SQLITE_NOTFOUND) return 2;
        counter->Cancel();
        counter->Close();
        counter->Open();
      }
    }
    return 0;
  } catch (...) {
    return 3;
  }
}

TEST(DataSetProcesses, TwoProgramsIncrementingCountersLoseNothing) {
  constexpr int kPosts = 100;
  TTestDatabase t;
  t.Db->ExecSQL("CREATE TABLE counter (n INTEGER); INSERT INTO counter VALUES (0), (0);");
  t.Db->Close();  // no connection may cross the fork
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  pid_t children[2];
  for (pid_t& child : children) {
    child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      char go;
      close(start[1]);
      (void)!read(start[0], &go, 1);  // both start together, when the pipe closes
      _exit(IncrementCounters(t, kPosts));
    }
  }
  close(start[0]);
  close(start[1]);
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  EXPECT_EQ(t.Scalar("SELECT group_concat(n) FROM counter"), "100,100");
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
  auto readOnly = T.Connect(true);
  auto onReadOnly = T.Table("city", readOnly.get());
  auto schema = T.Table("sqlite_master");
  for (TDataSet* ds :
       {query.get(), view.get(), noRowId.get(), flagged.get(), onReadOnly.get(), schema.get()}) {
    ds->Open();
    EXPECT_FALSE(ds->CanModify());
    EXPECT_EQ(ErrorCodeOf([&] { ds->Edit(); }), SQLITE_READONLY);
    EXPECT_THROW(ds->Append(), EDatabaseError);
    EXPECT_THROW(ds->Delete(), EDatabaseError);
    EXPECT_EQ(ds->State(), dsBrowse);
  }
}

// A statement refused by Open must leave no trace: Effect tells whether
// it took effect anyway.
struct TRefused {
  const char* Name;
  const char* Sql;
  std::function<bool(TTestDatabase&)> Effect;
};

class RefusedStatementTest : public DataSetTest, public ::testing::WithParamInterface<TRefused> {};

TEST_P(RefusedStatementTest, HasNoEffect) {
  auto refused = T.Query(GetParam().Sql);
  EXPECT_EQ(ErrorCodeOf([&] { refused->Open(); }), SQLITE_AUTH);
  EXPECT_FALSE(refused->Active());
  EXPECT_FALSE(GetParam().Effect(T));
  EXPECT_EQ(T.Scalar("PRAGMA quick_check"), "ok");
}

bool CityChanged(TTestDatabase& T) {
  return T.Scalar("SELECT group_concat(name) FROM city") != "Roma,Rovigo,Torino";
}

INSTANTIATE_TEST_SUITE_P(
    Statements, RefusedStatementTest,
    ::testing::Values(
        TRefused{"Delete", "DELETE FROM city", CityChanged},
        TRefused{"DeleteReturningRows", "DELETE FROM city RETURNING *", CityChanged},
        TRefused{"TextAfterTheQuery", "SELECT * FROM city; DELETE FROM city", CityChanged},
        TRefused{"IgnoreCheckConstraints", "PRAGMA ignore_check_constraints = ON",
                 [](TTestDatabase& T) {
                   return ErrorCodeOf([&] {
                            T.Db->ExecSQL("INSERT INTO city (name, pop) VALUES ('Bra', -1)");
                          }) != SQLITE_CONSTRAINT_CHECK;
                 }},
        TRefused{"LockingModeExclusive", "PRAGMA locking_mode = EXCLUSIVE",
                 [](TTestDatabase& T) {
                   T.Query("SELECT * FROM city")->Open();
                   return ErrorCodeOf([&] {
                            T.Connect()->ExecSQL("UPDATE city SET pop = pop WHERE id = 1");
                          }) != -1;
                 }},
        TRefused{"WritableSchema", "PRAGMA writable_schema = ON",
                 [](TTestDatabase& T) { return T.Scalar("PRAGMA writable_schema") != "0"; }}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(DataSetTest, OpeningRunsOneQuery) {
  auto query = T.Query("SELECT name FROM city; -- and a comment");
  query->Open();
  EXPECT_EQ(query->RecordCount(), 3);
  auto missing = T.Table("nowhere");
  EXPECT_EQ(ErrorCodeOf([&] { missing->Open(); }), SQLITE_ERROR);
}

// The table's own rules: an ignored duplicate is reported, a replaced record
// leaves the buffer, what an AFTER trigger wrote is read back.
TEST(DataSetTableRules, IgnoreReplaceAndTriggers) {
  TTestDatabase t;
  t.Db->ExecSQL(
      "CREATE TABLE tag (name TEXT UNIQUE ON CONFLICT IGNORE, "
      "code TEXT UNIQUE ON CONFLICT REPLACE, edits INTEGER DEFAULT 0);"
      "INSERT INTO tag (name, code) VALUES ('a', 'x'), ('b', 'y');"
      "CREATE TRIGGER count_edits AFTER UPDATE OF name ON tag "
      "BEGIN UPDATE tag SET edits = edits + 1 WHERE rowid = new.rowid; END;");
  auto tag = t.Table("tag");
  tag->Open();
  tag->Append();
  tag->FieldByName("name")->SetAsString("a");
  tag->FieldByName("code")->SetAsString("z");
  EXPECT_EQ(ErrorCodeOf([&] { tag->Post(); }), SQLITE_CONSTRAINT_UNIQUE);
  EXPECT_EQ(tag->State(), dsInsert);
  tag->FieldByName("name")->SetAsString("c");
  tag->FieldByName("code")->SetAsString("x");
  tag->Post();
  EXPECT_EQ(Column(*tag, "name"), (std::vector<AnsiString>{"b", "c"}));
  EXPECT_EQ(t.Scalar("SELECT group_concat(name) FROM tag"), "b,c");
  for (const char* name : {"d", "e"}) {  // the second Post compares with the trigger's work
    tag->Edit();
    tag->FieldByName("name")->SetAsString(name);
    tag->Post();
  }
  EXPECT_EQ(tag->FieldByName("edits")->AsInteger(), 2);
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
