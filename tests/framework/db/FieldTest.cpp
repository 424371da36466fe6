#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/db/DataSet.h"
#include "framework/db/Field.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FormatSettings.h"
#include "tests/support/TestDatabase.h"

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

namespace {

struct TDeclCase {
  const char* Declared;
  TFieldType Type;
  int Size;
  TAlignment Alignment;
};

class DeclaredTypeTest : public ::testing::TestWithParam<TDeclCase> {};

TEST_P(DeclaredTypeTest, GivesTypeSizeAndAlignment) {
  TTestDatabase t;
  t.Db->ExecSQL(AnsiString("CREATE TABLE t (c ") + GetParam().Declared + ")");
  auto ds = t.Table("t");
  ds->Open();
  const TField* f = ds->FieldByName("c");
  EXPECT_EQ(f->FieldKind(), fkData);
  EXPECT_EQ(f->DataType(), GetParam().Type);
  EXPECT_EQ(f->Size(), GetParam().Size);
  EXPECT_EQ(f->Alignment(), GetParam().Alignment);
  EXPECT_GT(f->DisplayWidth(), 0);
  EXPECT_LE(f->DisplayWidth(), DefaultDisplayWidth);
}

INSTANTIATE_TEST_SUITE_P(Declarations, DeclaredTypeTest,
                         ::testing::Values(TDeclCase{"VARCHAR(40)", ftString, 40, taLeftJustify},
                                           TDeclCase{"character(3)", ftString, 3, taLeftJustify},
                                           TDeclCase{"TEXT", ftString, DefaultStringSize,
                                                     taLeftJustify},
                                           TDeclCase{"INTEGER", ftInteger, 0, taRightJustify},
                                           TDeclCase{"BIGINT", ftInteger, 0, taRightJustify},
                                           TDeclCase{"REAL", ftFloat, 0, taRightJustify},
                                           TDeclCase{"NUMERIC(10,2)", ftFloat, 0, taRightJustify},
                                           TDeclCase{"BOOLEAN", ftBoolean, 0, taLeftJustify},
                                           TDeclCase{"DATE", ftDate, 0, taLeftJustify},
                                           TDeclCase{"DATETIME", ftDateTime, 0, taLeftJustify},
                                           TDeclCase{"BLOB", ftBlob, 0, taLeftJustify}));

TEST(Field, ExpressionsTakeTheTypeOfTheirValuesAndRepeatedNamesASuffix) {
  TTestDatabase t;
  auto q = t.Query("SELECT 1 + 1 AS n, 'a' || 'b' AS s, NULL AS z, 2.5 AS n");
  q->Open();
  ASSERT_EQ(q->FieldCount(), 4);
  EXPECT_EQ(q->Fields()[0]->DataType(), ftInteger);
  EXPECT_EQ(q->Fields()[1]->DataType(), ftString);
  EXPECT_EQ(q->Fields()[1]->Size(), DefaultStringSize);
  EXPECT_TRUE(q->Fields()[2]->IsNull());
  EXPECT_EQ(q->Fields()[3]->FieldName(), "n_1");
  EXPECT_EQ(q->Fields()[3]->DataType(), ftFloat);
}

// Each type written through Post, read back from the file, and as SQLite holds it.
struct TRoundTrip {
  const char* Declared;
  Variant Written;
  Variant Read;
  const char* Stored;  // quote() of the stored value
};

class RoundTripTest : public ::testing::TestWithParam<TRoundTrip> {};

TEST_P(RoundTripTest, SurvivesPostAndReopening) {
  TTestDatabase t;
  t.Db->ExecSQL(AnsiString("CREATE TABLE t (c ") + GetParam().Declared + ")");
  auto ds = t.Table("t");
  ds->Open();
  ds->Append();
  ds->FieldByName("c")->SetValue(GetParam().Written);
  ds->Post();
  EXPECT_TRUE(ds->FieldByName("c")->Value() == GetParam().Read);
  auto other = t.Connect();
  auto again = t.Table("t", other.get());
  again->Open();
  EXPECT_TRUE(again->FieldByName("c")->Value() == GetParam().Read)
      << again->FieldByName("c")->AsString();
  auto raw = t.Query("SELECT quote(c) AS q FROM t");
  raw->Open();
  if (*GetParam().Stored) {
    EXPECT_EQ(raw->FieldByName("q")->AsString(), GetParam().Stored);
  }
}

AnsiString AllBytes() {
  AnsiString s;
  for (int b = 0; b < 256; ++b) s += static_cast<char>(b);
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Types, RoundTripTest,
    ::testing::Values(
        TRoundTrip{"VARCHAR(10)", "Citt\xE0 \x80", "Citt\xE0 \x80", "'Citt\xE0 \x80'"},
        TRoundTrip{"INTEGER", " -7", -7, "-7"},
        TRoundTrip{"INTEGER", 5000000000LL, 5000000000LL, "5000000000"},
        TRoundTrip{"REAL", 2.5, 2.5, "2.5"}, TRoundTrip{"BOOLEAN", true, true, "1"},
        TRoundTrip{"DATE", Variant::FromDate(EncodeDate(2024, 2, 29) + 0.5),
                   Variant::FromDate(EncodeDate(2024, 2, 29)), "'2024-02-29'"},
        TRoundTrip{"DATETIME", Variant::FromDate(EncodeDate(1899, 12, 30) + 0.75),
                   Variant::FromDate(EncodeDate(1899, 12, 30) + 0.75), "'1899-12-30 18:00:00'"},
        TRoundTrip{"BLOB", AllBytes(), AllBytes(), ""},
        TRoundTrip{"TEXT", Variant::Null(), Variant::Null(), "NULL"}));

// A field given back the value it read, beside a change of another field,
// leaves the stored value exactly as it was; Shown is how it reads.
struct TStored {
  const char* Declared;
  const char* Literal;  // the stored value, in SQL
  const char* Shown;    // AsString, or null when it does not matter
};

void PrintTo(const TStored& S, std::ostream* Os) { *Os << S.Declared << " " << S.Literal; }

class StoredValueTest : public ::testing::TestWithParam<TStored> {};

TEST_P(StoredValueTest, SurvivesBeingWrittenBack) {
  TTestDatabase t;
  t.ExecUtf8(std::string("CREATE TABLE t (c ") + GetParam().Declared + ", other INTEGER);" +
             "INSERT INTO t VALUES (" + GetParam().Literal + ", 0)");
  const std::string raw = "SELECT hex(c) || typeof(c) FROM t";
  const std::string stored = t.Scalar(raw);
  auto ds = t.Table("t");
  ds->Open();
  TField* c = ds->FieldByName("c");
  if (GetParam().Shown) {
    EXPECT_EQ(c->AsString(), GetParam().Shown);
  }
  ds->Edit();
  c->SetValue(c->Value());
  ds->FieldByName("other")->SetAsInteger(1);
  ds->Post();
  EXPECT_EQ(t.Scalar(raw), stored);
  EXPECT_EQ(t.Scalar("SELECT other FROM t"), "1");
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredValueTest,
    ::testing::Values(TStored{"TIMESTAMP", "1709229600", "1709229600"},
                      TStored{"NUMERIC", "12345678901234567", "12345678901234567"},
                      TStored{"TEXT", "CAST(X'41FF42' AS TEXT)", nullptr},
                      TStored{"TEXT", "'\xCE\xA9'", "?"},  // Ω: no Windows-1252 code
                      TStored{"DATETIME", "'2024-02-29 18:00:00.123456'",
                              "2024-02-29 18:00:00.123456"},
                      TStored{"DATETIME", "'2024-02-29T18:00'", nullptr},
                      TStored{"BOOLEAN", "2", "2"},
                      TStored{"BLOB", "'text, not bytes'", "text, not bytes"},
                      TStored{"INTEGER", "'twelve'", "twelve"}));

TEST(Field, DatesReadBackAsTheSameDate) {
  TTestDatabase t;
  t.Db->ExecSQL("CREATE TABLE t (d DATE); INSERT INTO t VALUES ('1850-06-01');");
  const TFormatSettings saved = FormatSettings;
  FormatSettings.ShortDateFormat = "dd/mm/yy";
  FormatSettings.DateSeparator = '/';
  auto ds = t.Table("t");
  ds->Open();
  TField* d = ds->FieldByName("d");
  EXPECT_EQ(d->AsString(), "01/06/1850");
  ds->Edit();
  d->SetAsString(d->AsString());
  ds->Post();
  FormatSettings = saved;
  EXPECT_EQ(t.Scalar("SELECT d FROM t"), "1850-06-01");
}

// SQL names a column exactly as SQLite does, whatever its name looks like
// once converted: "Ω" reads as "?", and "É" and "é" are two columns.
TEST(Field, EachFieldWritesItsOwnColumn) {
  TTestDatabase t;
  t.ExecUtf8(
      "CREATE TABLE t (\"\xCE\xA9\", \"?\", \"\xC3\x89\", \"\xC3\xA9\", "
      "\"\xD0\x98\xD0\xBC\xD1\x8F\"); INSERT INTO t VALUES (0, 0, 0, 0, 0);");
  auto ds = t.Table("t");
  ds->Open();
  std::vector<AnsiString> names;
  for (int i = 0; i < ds->FieldCount(); ++i) names.push_back(ds->Fields()[i]->FieldName());
  EXPECT_EQ(names, (std::vector<AnsiString>{"?_1", "?", "\xC9", "\xE9", "???"}));
  EXPECT_EQ(ds->FieldByName("\xE9")->Index(), 3);
  for (int i = 0; i < ds->FieldCount(); ++i) {
    ds->Edit();
    ds->Fields()[i]->SetAsInteger(i + 1);
    ds->Post();
  }
  EXPECT_EQ(t.Scalar("SELECT \"\xCE\xA9\" || \"?\" || \"\xC3\x89\" || \"\xC3\xA9\" || "
                     "\"\xD0\x98\xD0\xBC\xD1\x8F\" FROM t"),
            "12345");
}

TEST(Field, RefusesValuesItsTypeCannotHoldAndKeepsTheOldOne) {
  TTestDatabase t;
  t.Db->ExecSQL("CREATE TABLE t (i INTEGER, d DATE); INSERT INTO t VALUES (3, '2020-01-02');");
  auto ds = t.Table("t");
  ds->Open();
  TField* i = ds->FieldByName("i");
  ds->Edit();
  EXPECT_THROW(i->SetValue("abc"), EConvertError);
  EXPECT_THROW(i->SetValue(5.5), EConvertError) << "a fraction is not rounded away";
  EXPECT_THROW(ds->FieldByName("d")->SetValue("31/02/2020"), EConvertError);
  EXPECT_EQ(i->AsInteger(), 3);
  EXPECT_FALSE(ds->Modified());
  i->Clear();
  EXPECT_TRUE(i->IsNull());
  EXPECT_EQ(i->AsString(), "");
  EXPECT_EQ(i->AsInteger(), 0);
}

TEST(Field, NamesIgnoreCaseAndFieldsOutliveReopening) {
  TTestDatabase t;
  t.Db->ExecSQL("CREATE TABLE t (\"Citt\xE0\" TEXT)");
  auto ds = t.Table("t");
  ds->SetName("Cities");
  ds->Open();
  TField* f = ds->FieldByName("CITT\xC0");
  EXPECT_EQ(f->FieldName(), "Citt\xE0");
  EXPECT_EQ(f->DisplayLabel(), "Citt\xE0");
  f->SetDisplayLabel("Comune");
  ds->Close();
  ds->Open();
  EXPECT_EQ(ds->FieldByName("citt\xE0"), f);
  EXPECT_EQ(f->DisplayLabel(), "Comune");
  EXPECT_THAT([&] { ds->FieldByName("Paese"); },
              ThrowsMessage<EDatabaseError>(HasSubstr("Cities: Field 'Paese' not found")));
  EXPECT_EQ(ds->FindField("Paese"), nullptr);
}

class LookupFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    T.Db->ExecSQL(
        "CREATE TABLE city (id INTEGER PRIMARY KEY, name VARCHAR(30));"
        "INSERT INTO city VALUES (1, 'Roma'), (2, 'Milano');"
        "CREATE TABLE person (name TEXT, city_id INTEGER);"
        "INSERT INTO person VALUES ('Ada', 2), ('Bice', NULL), ('Carla', 9);");
    City = T.Table("city");
    City->Open();
    Person = T.Table("person");
    CityName = Person->AddField("CityName", fkLookup, ftString, 30);
    CityName->SetLookupDataSet(City.get());
    CityName->SetKeyFields("city_id");
    CityName->SetLookupKeyFields("id");
    CityName->SetLookupResultField("name");
    Person->Open();
  }
  TTestDatabase T;
  std::unique_ptr<TDataSet> City, Person;
  TField* CityName = nullptr;
};

TEST_F(LookupFieldTest, ResolvesThroughTheLookupDataSet) {
  EXPECT_EQ(CityName->FieldKind(), fkLookup);
  EXPECT_EQ(CityName->Size(), 30);
  EXPECT_EQ(Person->Fields()[2], CityName) << "after the columns";
  EXPECT_EQ(Column(*Person, "CityName"), (std::vector<AnsiString>{"Milano", "", ""}));
  Person->First();
  Person->Edit();
  Person->FieldByName("city_id")->SetAsInteger(1);
  EXPECT_EQ(CityName->AsString(), "Roma") << "follows the key while editing";
  EXPECT_THROW(CityName->SetAsString("Milano"), EDatabaseError);
  EXPECT_EQ(City->RecNo(), 1);
  City->Close();
  EXPECT_TRUE(CityName->IsNull());
}

TEST_F(LookupFieldTest, ForgetsALookupDataSetThatIsDestroyed) {
  City.reset();
  EXPECT_EQ(CityName->LookupDataSet(), nullptr);
  EXPECT_TRUE(CityName->IsNull());
}

TEST(Field, CalculatedFieldsAreComputedForTheRecordRead) {
  TTestDatabase t;
  t.Db->ExecSQL("CREATE TABLE t (n INTEGER); INSERT INTO t VALUES (1), (2), (3);");
  auto ds = t.Table("t");
  TField* twice = ds->AddField("Twice", fkCalculated, ftInteger);
  int runs = 0;
  ds->OnCalcFields = [&](TDataSet* d) {
    ++runs;
    d->FieldByName("Twice")->SetAsInteger(d->FieldByName("n")->AsInteger() * 2);
  };
  ds->Open();
  EXPECT_EQ(Column(*ds, "Twice"), (std::vector<AnsiString>{"2", "4", "6"}));
  ds->First();
  {
    TRecordScope third(*ds, 3);
    EXPECT_EQ(twice->AsInteger(), 6);
  }
  EXPECT_EQ(ds->RecNo(), 1);
  EXPECT_EQ(twice->AsInteger(), 2);
  const int before = runs;
  EXPECT_EQ(twice->AsInteger(), 2);
  EXPECT_EQ(runs, before) << "computed once per record";
  ds->Edit();
  ds->FieldByName("n")->SetAsInteger(10);
  EXPECT_EQ(twice->AsInteger(), 20);
  {
    TRecordScope current(*ds, 1);  // a grid painting the edited row sees the edit
    EXPECT_EQ(ds->FieldByName("n")->AsInteger(), 10);
  }
  {
    TRecordScope second(*ds, 2);
    EXPECT_THROW(ds->FieldByName("n")->SetAsInteger(5), EDatabaseError);
  }
}

}  // namespace
