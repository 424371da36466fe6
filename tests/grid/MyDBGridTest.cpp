#include <gtest/gtest.h>

#include <QTest>

#include "framework/forms/Palette.h"
#include "grid/MyDBGrid.h"
#include "tests/support/GridOnTable.h"

namespace {

class MyDBGridTest : public TGridOnTable<TMyDBGrid> {
 protected:
  void SetUp() override {
    Open(
        "CREATE TABLE city (id INTEGER PRIMARY KEY, name VARCHAR(40));"
        "INSERT INTO city VALUES (1, 'Roma'), (2, 'Milano');",
        "city");
    grid->OnDataExport = [this](TObject* Sender, TMyDBGrid* Grid) {
      EXPECT_EQ(Sender, grid);
      EXPECT_EQ(Grid, grid);
      ++exports;
    };
    grid->OnCustomizeGrid = [this](TObject*, TMyDBGrid*) { ++customizations; };
    grid->SetHint("Citt\xE0");  // recorded at the first paint
    Show();
  }
  QImage Shot() { return grid->grab().toImage(); }

  int exports = 0;
  int customizations = 0;
};

TEST_F(MyDBGridTest, NewGridExportsByItselfAndShowsNoMarker) {
  TMyDBGrid fresh(nullptr);
  EXPECT_FALSE(fresh.CanExport());
  EXPECT_FALSE(fresh.CanCustomize());
  EXPECT_TRUE(fresh.OnDataExport);
  EXPECT_TRUE(fresh.OnCellExport);
  EXPECT_FALSE(fresh.OnCustomizeGrid);
  const QColor green(0, 128, 0);
  EXPECT_NE(Shot().pixelColor(1, 1), green);
}

TEST_F(MyDBGridTest, TheMarkerIsAGreenTriangleDrawnAtTheNextPaint) {
  grid->SetCanCustomize(true);
  const QImage image = Shot();
  const QColor green(0, 128, 0);
  for (const QPoint p : {QPoint(1, 1), QPoint(5, 1), QPoint(1, 5), QPoint(3, 2)})
    EXPECT_EQ(image.pixelColor(p), green) << p.x() << "," << p.y();
  for (const QPoint p : {QPoint(0, 0), QPoint(5, 5), QPoint(6, 1), QPoint(1, 6)})
    EXPECT_NE(image.pixelColor(p), green) << p.x() << "," << p.y();
  grid->SetCanCustomize(false);
  EXPECT_NE(Shot().pixelColor(1, 1), green);
}

TEST_F(MyDBGridTest, HoverShowsTheHandAndHintOnlyWhereExportIsPossible) {
  grid->SetCanExport(true);
  QTest::mouseMove(grid, QPoint(3, 3));
  EXPECT_EQ(grid->Cursor(), crHandPoint);
  EXPECT_EQ(grid->Hint(), "Crea documento Excel");
  EXPECT_TRUE(grid->ShowHint());
  EXPECT_EQ(grid->toolTip(), "Crea documento Excel");
  QTest::mouseMove(grid, QPoint(150, 100));
  EXPECT_EQ(grid->Cursor(), crDefault);
  EXPECT_EQ(grid->Hint(), "Citt\xE0");
  EXPECT_FALSE(grid->ShowHint());
  // A hint the program sets later is put back at the next move off the corner.
  grid->SetHint("Altro");
  QTest::mouseMove(grid, QPoint(150, 110));
  EXPECT_EQ(grid->Hint(), "Citt\xE0");
  // Customisation alone gives no hand.
  grid->SetCanExport(false);
  grid->SetCanCustomize(true);
  QTest::mouseMove(grid, QPoint(3, 3));
  EXPECT_EQ(grid->Cursor(), crDefault);
}

TEST_F(MyDBGridTest, CornerClicksExportOrCustomize) {
  grid->SetCanExport(true);
  grid->SetCanCustomize(true);
  QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(exports, 1);
  QTest::mouseClick(grid, Qt::LeftButton, Qt::ControlModifier, QPoint(2, 2));
  EXPECT_EQ(customizations, 1);
  EXPECT_EQ(exports, 1);
  QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(6, 3));  // outside the square
  // A double click: its first press exports, its second does not.
  QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseDClick(grid, Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(exports, 2);
  table->Close();
  QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(exports, 2);
}

TEST_F(MyDBGridTest, ColumnLettersAndRanges) {
  const std::pair<int, const char*> letters[] = {{0, "A"},   {1, "B"},   {25, "Z"},  {26, "AA"},
                                                 {27, "AB"}, {51, "AZ"}, {52, "BA"}, {701, "ZZ"}};
  for (const auto& [n, name] : letters) EXPECT_EQ(TMyDBGrid::ColumnName(n), name) << n;
  EXPECT_EQ(TMyDBGrid::CodRange(1, 3, 12), "B12:D12");
  EXPECT_EQ(TMyDBGrid::CodRange(0, 2, 0), "A:C");
  EXPECT_EQ(TMyDBGrid::CodRange(2, 2, 7), "C7:C7");
}

TEST_F(MyDBGridTest, RegisteredOnTheCustomPage) {
  Mydbgrid::Register();
  bool found = false;
  for (const auto& c : RegisteredComponents("Custom")) found |= c.ClassName == "TMyDBGrid";
  EXPECT_TRUE(found);
}

}  // namespace
