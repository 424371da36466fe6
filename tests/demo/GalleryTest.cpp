#include <gtest/gtest.h>

#include <QDir>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include "combos/EditLookupComboBox.h"
#include "demo/GalleryDatabase.h"
#include "demo/GalleryForm.h"
#include "framework/rtl/CodePage.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/Settings.h"
#include "tests/support/SpreadsheetFiles.h"
#include "tests/support/Typing.h"

namespace {

// The gallery on a fresh sample database, as a user first sees it.
class GalleryTest : public testing::Test {
 protected:
  void SetUp() override {
    saved = FormatSettings;
    FormatSettings = CommaSettings();
    form = std::make_unique<TGalleryForm>(nullptr, Path());
    ShowActive(form.get());
    ProcessPosted();
  }
  void TearDown() override {
    form.reset();
    FormatSettings = saved;
  }
  AnsiString Path() const { return QStringToAnsi(dir.filePath("gallery.sqlite")); }
  // What another program reading the file sees.
  AnsiString Stored(const AnsiString& Sql) {
    TDatabase db(nullptr);
    db.SetDatabaseName(Path());
    TDataSet query(nullptr);
    query.SetDatabase(&db);
    query.SetSQL(Sql);
    query.Open();
    return query.Fields()[0]->AsString();
  }
  void Settle() {
    for (int i = 0; i < 4; ++i) ProcessPosted();
  }
  // The newest message of the status line.
  AnsiString Status() const {
    const AnsiString line = form->StatusLabel->Caption();
    return line.substr(0, line.find("   |   "));
  }
  bool StatusTells(const AnsiString& Text) const {
    return form->StatusLabel->Caption().find(Text) != AnsiString::npos;
  }

  QTemporaryDir dir;
  TFormatSettings saved;
  TRecordingServices services;
  std::unique_ptr<TGalleryForm> form;
};

TEST_F(GalleryTest, FirstRunCreatesTheSampleInTheUsersDataFolder) {
  const QTemporaryDir home;
  qputenv("XDG_DATA_HOME", home.path().toUtf8());
  EXPECT_EQ(GalleryDatabasePath(), QStringToAnsi(home.path() + "/astrevo/gallery.sqlite"));
  TGalleryForm fresh(nullptr);
  qunsetenv("XDG_DATA_HOME");
  EXPECT_TRUE(QFile::exists(home.path() + "/astrevo/gallery.sqlite"));
  EXPECT_GT(fresh.Cities.RecordCount(), 3000);
  EXPECT_EQ(fresh.Customers.RecordCount(), 4);
  EXPECT_TRUE(services.Boxes.empty());
}

TEST_F(GalleryTest, EditBoxesFilterAndCheckAsTheyAreTyped) {
  form->NomeEdit->SetText("");
  TypeText(form->NomeEdit, "giulia de luca");
  EXPECT_EQ(form->NomeEdit->Text(), "Giulia De Luca");
  form->NascitaEdit->setFocus();
  form->NascitaEdit->selectAll();
  TypeText(form->NascitaEdit, "10597");  // the month is complete at its 5
  EXPECT_EQ(form->NascitaEdit->Text(), "10/5/1997");
  form->FigliEdit->setFocus();
  form->FigliEdit->selectAll();
  TypeText(form->FigliEdit, "x2-");
  EXPECT_EQ(form->FigliEdit->Text(), "2");
  form->EMailEdit->setFocus();
  form->EMailEdit->selectAll();
  TypeText(form->EMailEdit, "giulia@posta");
  QTest::keyClick(form->EMailEdit, Qt::Key_Tab);
  Settle();
  EXPECT_TRUE(form->EMailEdit->hasFocus());  // no "." after the "@"
  EXPECT_EQ(services.Beeps.size(), 1u);
  EXPECT_TRUE(StatusTells("OnExit: EMailEdit"));
}

TEST_F(GalleryTest, TheProvinceMustComeFromItsList) {
  form->ProvinciaCombo->setFocus();
  form->ProvinciaCombo->lineEdit()->selectAll();
  TypeText(form->ProvinciaCombo, "xx");
  QTest::keyClick(form->ProvinciaCombo, Qt::Key_Tab);
  Settle();
  ASSERT_EQ(services.Boxes.size(), 1u);
  EXPECT_EQ(services.Boxes[0].Text, "Indicare una provincia dell'elenco.");
  EXPECT_TRUE(form->ProvinciaCombo->hasFocus());
  form->ProvinciaCombo->lineEdit()->selectAll();
  TypeText(form->ProvinciaCombo, "to");
  EXPECT_EQ(form->ProvinciaCombo->Text(), "TO");
  QTest::keyClick(form->ProvinciaCombo, Qt::Key_Tab);
  Settle();
  EXPECT_EQ(services.Boxes.size(), 1u);
}

TEST_F(GalleryTest, TheTownIsSearchedAsTypedAndSaved) {
  EXPECT_EQ(form->CittaLookup->Text(), "Roma");
  form->ProvinciaCombo->setFocus();
  QTest::keyClick(form->ProvinciaCombo, Qt::Key_Tab);
  Settle();
  TEditLookupComboBox* box = form->CittaLookup->EditBox();
  ASSERT_NE(box, nullptr);
  TypeText(box, "tor");  // the shown value was selected on entry: typing replaces it
  EXPECT_EQ(box->Text(), "Torino");
  QTest::keyClick(box, Qt::Key_Tab);
  Settle();
  form->SaveButton->click();
  EXPECT_EQ(Status(), "Salvato.");
  EXPECT_EQ(Stored("SELECT c.name FROM customer p JOIN city c ON c.id = p.city_id WHERE p.id = 1"),
            "Torino");
}

TEST_F(GalleryTest, AnUnknownTownOfBirthIsReportedAndNothingChanges) {
  EXPECT_EQ(form->NatoALookup->Text(), "Latina");
  form->NatoALookup->setFocus();
  Settle();
  TEditLookupComboBox* box = form->NatoALookup->EditBox();
  ASSERT_NE(box, nullptr);
  box->lineEdit()->selectAll();
  TypeText(box, "Atlantide");
  QTest::keyClick(box, Qt::Key_Tab);
  Settle();
  EXPECT_EQ(Status(), "OnExit: NatoALookup");
  EXPECT_TRUE(StatusTells("OnInvalidValue: NatoALookup, \"Atlantide\""));
  ASSERT_NE(form->NatoALookup->EditBox(), nullptr);
  EXPECT_EQ(QApplication::focusWidget(), form->NatoALookup->EditBox());
  EXPECT_EQ(form->NatoALookup->Text(), "Latina");
}

TEST_F(GalleryTest, TheGridCornerExportsAndAsksForCustomisation) {
  QTest::mouseClick(form->ClientiGrid, Qt::LeftButton, Qt::ControlModifier, QPoint(3, 3));
  EXPECT_EQ(Status(), "OnCustomizeGrid: ClientiGrid");
  TSpreadsheetFolder folder;
  QTest::mouseClick(form->ClientiGrid, Qt::LeftButton, {}, QPoint(3, 3));
  ASSERT_EQ(services.Opened.size(), 1u);
  const auto cells = OpenpyxlCells(services.Opened[0]);
  ASSERT_TRUE(cells);
  EXPECT_NE(std::find(cells->begin(), cells->end(), "A5|s|Lucia Esposito|left|-,-,-,-"),
            cells->end());
}

TEST_F(GalleryTest, CancelGivesTheStoredValuesBackAndAFailedPostIsShown) {
  form->NomeEdit->selectAll();
  TypeText(form->NomeEdit, "x");
  form->CancelButton->click();
  EXPECT_EQ(form->NomeEdit->Text(), "Mario Rossi");
  form->NomeEdit->selectAll();
  QTest::keyClick(form->NomeEdit, Qt::Key_Delete);
  form->SaveButton->click();  // a customer needs a name
  ASSERT_EQ(services.Boxes.size(), 1u);
  EXPECT_EQ(Status().rfind("Post non riuscito", 0), 0u) << Status();
  EXPECT_EQ(form->Customers.State(), dsEdit);
  EXPECT_EQ(Stored("SELECT name FROM customer WHERE id = 1"), "Mario Rossi");
}

TEST_F(GalleryTest, ALockedFileIsReportedAndTheWindowStaysUsable) {
  TDatabase other(nullptr);
  other.SetDatabaseName(Path());
  other.SetBusyTimeout(0);
  other.ExecSQL("BEGIN EXCLUSIVE");
  form->Database.SetBusyTimeout(0);
  form->NomeEdit->selectAll();
  TypeText(form->NomeEdit, "mario bianchi");
  form->SaveButton->click();
  ASSERT_EQ(services.Boxes.size(), 1u);
  EXPECT_NE(services.Boxes[0].Text.find("locked"), AnsiString::npos) << services.Boxes[0].Text;
  other.ExecSQL("ROLLBACK");
  form->SaveButton->click();
  EXPECT_EQ(Status(), "Salvato.");
  EXPECT_EQ(Stored("SELECT name FROM customer WHERE id = 1"), "Mario Bianchi");
}

TEST(GalleryFile, ADamagedFileIsReportedAndTheWindowOpens) {
  TRecordingServices services;
  const QTemporaryDir dir;
  const QString path = dir.filePath("gallery.sqlite");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(8192, 'x'));
  file.close();
  TGalleryForm form(nullptr, QStringToAnsi(path));
  ASSERT_EQ(services.Boxes.size(), 1u);
  EXPECT_FALSE(form.Customers.Active());
  EXPECT_EQ(form.StatusLabel->Caption().rfind("Apertura", 0), 0u);
  form.SaveButton->click();  // nothing to save, nothing breaks
}

TEST(GalleryFile, ManyPlacesAreAddedAllOrNothing) {
  const QTemporaryDir dir;
  TDatabase db(nullptr);
  OpenGalleryDatabase(db, QStringToAnsi(dir.filePath("g.sqlite")));
  const auto count = [&] {
    TDataSet q(nullptr);
    q.SetDatabase(&db);
    q.SetSQL("SELECT count(*) FROM city");
    q.Open();
    return q.Fields()[0]->AsInteger();
  };
  const int before = count();
  EXPECT_FALSE(AddManyPlaces(db, 20000, [](int Done) { return Done < 10000; }));
  EXPECT_EQ(count(), before);
  std::vector<int> steps;
  EXPECT_TRUE(AddManyPlaces(db, 12000, [&](int Done) {
    steps.push_back(Done);
    return true;
  }));
  EXPECT_EQ(count(), before + 12000);
  EXPECT_EQ(steps, (std::vector<int>{0, 5000, 10000, 12000}));
}

}  // namespace
