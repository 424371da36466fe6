#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "framework/dbctrls/DBGrid.h"
#include "tests/support/GridOnTable.h"

namespace {

class DBGridTest : public TGridOnTable<TDBGrid> {
 protected:
  void SetUp() override {
    Open(
        "CREATE TABLE city (id INTEGER PRIMARY KEY, name VARCHAR(20) CHECK (name <> ''),"
        " people INTEGER);"
        "INSERT INTO city VALUES (1, 'Roma', 2800000), (2, 'Milano', 1400000),"
        " (3, 'Torino', 850000);",
        "city", 400);
    Show();
    grid->setFocus();
  }
  // Types Text into the current cell, as the user would, and confirms it.
  void TypeInCell(const char* Text) {
    QTest::keyClick(grid, Text[0]);
    QTest::keyClicks(QApplication::focusWidget(), Text + 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ProcessPosted();  // the cell editor hands its text over once the key is handled
  }
  AnsiString Stored(int Id) {
    auto check = db.Query("SELECT name FROM city WHERE id = " + std::to_string(Id));
    check->Open();
    return check->FieldByName("name")->AsString();
  }
};

TEST_F(DBGridTest, ShowsTheFieldsAndFollowsTheCurrentRecord) {
  ASSERT_EQ(grid->FieldCount(), 3);
  EXPECT_EQ(grid->Columns()[1].Title().Caption, "name");
  EXPECT_EQ(grid->Columns()[2].Alignment(), taRightJustify);
  EXPECT_EQ(grid->model()->data(grid->model()->index(1, 1)).toString(), "Milano");
  table->Last();
  EXPECT_EQ(grid->currentIndex().row(), 2);
  QTest::keyClick(grid, Qt::Key_Up);
  EXPECT_EQ(table->RecNo(), 2);
  grid->Columns()[1].SetWidth(120);
  EXPECT_EQ(grid->horizontalHeader()->sectionSize(1), 120);
  table->Close();
  EXPECT_EQ(grid->FieldCount(), 0);
  EXPECT_EQ(grid->model()->rowCount(), 0);
}

TEST_F(DBGridTest, AChangeIsPostedOnLeavingTheRow) {
  grid->setCurrentIndex(grid->model()->index(0, 1));
  TypeInCell("Napoli");
  EXPECT_EQ(table->State(), dsEdit);
  EXPECT_EQ(Stored(1), "Roma");
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(table->State(), dsBrowse);
  EXPECT_EQ(Stored(1), "Napoli");
  EXPECT_TRUE(services.Boxes.empty());
}

TEST_F(DBGridTest, ARefusedPostKeepsTheRowInEditWithTheTypedValue) {
  grid->setCurrentIndex(grid->model()->index(1, 2));
  TypeInCell("7");
  grid->setCurrentIndex(grid->model()->index(1, 1));
  QTest::keyClick(grid, Qt::Key_Delete);  // not an edit: the key is no character
  QTest::keyClick(grid, Qt::Key_F2);
  QLineEdit* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->clear();
  QTest::keyClick(editor, Qt::Key_Return);  // an empty name breaks the CHECK
  ProcessPosted();
  QTest::keyClick(grid, Qt::Key_Down);
  ProcessPosted();
  ASSERT_EQ(services.Boxes.size(), 1u);
  EXPECT_NE(services.Boxes[0].Text.find("CHECK"), AnsiString::npos) << services.Boxes[0].Text;
  EXPECT_EQ(table->State(), dsEdit);
  EXPECT_EQ(table->RecNo(), 2);
  EXPECT_EQ(grid->currentIndex().row(), 1);
  EXPECT_EQ(table->FieldByName("people")->AsString(), "7");
  EXPECT_EQ(Stored(2), "Milano");
  // Escape gives the changes up.
  QTest::keyClick(grid, Qt::Key_Escape);
  EXPECT_EQ(table->State(), dsBrowse);
  EXPECT_EQ(table->FieldByName("people")->AsString(), "1400000");
}

TEST_F(DBGridTest, AChangeByAnotherProgramIsReportedNotOverwritten) {
  grid->setCurrentIndex(grid->model()->index(0, 1));
  TypeInCell("Napoli");
  auto other = db.Connect();
  other->ExecSQL("UPDATE city SET name = 'Firenze' WHERE id = 1");
  QTest::keyClick(grid, Qt::Key_Down);
  ProcessPosted();
  ASSERT_EQ(services.Boxes.size(), 1u);
  EXPECT_NE(services.Boxes[0].Text.find("changed by another user"), AnsiString::npos)
      << services.Boxes[0].Text;
  EXPECT_EQ(Stored(1), "Firenze");
  EXPECT_EQ(table->State(), dsEdit);
  EXPECT_EQ(grid->currentIndex().row(), 0);
  EXPECT_EQ(table->FieldByName("name")->AsString(), "Napoli");
}

}  // namespace
