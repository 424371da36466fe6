#include <gtest/gtest.h>

#include <QTest>

#include "grid/MyDBGrid.h"
#include "tests/support/GridOnTable.h"
#include "tests/support/RecordingAutomation.h"
#include "tests/support/SpreadsheetFiles.h"

namespace {

class DataExportTest : public TGridOnTable<TMyDBGrid> {
 protected:
  void SetUp() override {
    Open(
        "CREATE TABLE city (id INTEGER PRIMARY KEY, name VARCHAR(20), people INTEGER);"
        "INSERT INTO city VALUES (1, 'Roma', 2800000);",
        "city");
    digit = grid->Canvas()->TextWidth("0");
  }
  // One column showing Field under Caption, ten digits and a bit wide.
  TColumn& Column(const AnsiString& Field, const AnsiString& Caption,
                  TAlignment Alignment = taLeftJustify) {
    TColumn& column = grid->Columns().Add();
    column.SetFieldName(Field);
    column.SetTitleCaption(Caption);
    column.SetAlignment(Alignment);
    column.SetWidth(10 * digit + digit / 2);
    return column;
  }
  // The requests of one column's widths, alignments, caption and borders.
  static std::vector<AnsiString> ColumnRequests(const AnsiString& Letter, int Alignment,
                                                const AnsiString& Caption) {
    const AnsiString whole = "Range(\"" + Letter + ":" + Letter + "\")";
    const AnsiString head = "Range(\"" + Letter + "1:" + Letter + "1\")";
    std::vector<AnsiString> r = {
        "Application." + whole, whole + ".ColumnWidth = 10",
        "Application." + whole, whole + ".HorizontalAlignment = " + std::to_string(Alignment),
        "Application." + head,  head + ".HorizontalAlignment = 3",
        "Application." + head,  head + ".Value = \"" + Caption + "\""};
    for (int b = 1; b <= 4; ++b) {
      const AnsiString border = "Borders(" + std::to_string(b) + ")";
      r.insert(r.end(), {"Application." + head, head + "." + border, border + ".LineStyle = 1"});
    }
    return r;
  }
  static std::vector<AnsiString> Start() {
    return {"Application.Visible = True", "Application.Workbooks", "Workbooks.Add()"};
  }

  int digit = 0;
  TRecordingAutomation excel;
};

TEST_F(DataExportTest, OneColumnAndOneRecordMakeTheRequestsInOrder) {
  Column("name", "Citt\xE0");
  std::vector<std::pair<int, int>> cells;
  grid->OnCellExport = [&](TObject* Sender, Variant, int& Col, int& Row, AnsiString& Range,
                           AnsiString& Value) {
    EXPECT_EQ(Sender, grid);
    EXPECT_EQ(Range, "A2:A2");
    EXPECT_EQ(Value, "Roma");
    cells.emplace_back(Col, Row);
    Col = 7;  // copies: the export goes on as it was
    Row = 9;
  };
  grid->DataExport(grid, grid);
  std::vector<AnsiString> expected = Start();
  const auto column = ColumnRequests("A", 2, "Citt\xE0");
  expected.insert(expected.end(), column.begin(), column.end());
  expected.insert(expected.end(),
                  {"Application.Range(\"A2:A2\")", "Range(\"A2:A2\").Value = \"Roma\""});
  EXPECT_EQ(excel.Texts(), expected);
  EXPECT_EQ(cells, (std::vector<std::pair<int, int>>{{1, 2}}));
  EXPECT_EQ(excel.Starts(), 1);
  EXPECT_EQ(excel.LiveObjects(), 0);  // every reference let go
}

TEST_F(DataExportTest, ColumnsWithoutRecordsGetTheirHeadersOnly) {
  Column("people", "Abitanti", taRightJustify);
  Column("id", "N.", taCenter);
  table->Close();
  db.Db->ExecSQL("DELETE FROM city");
  table->Open();
  int cells = 0;
  grid->OnCellExport = [&](TObject*, Variant, int&, int&, AnsiString&, AnsiString&) { ++cells; };
  grid->DataExport(grid, grid);
  std::vector<AnsiString> expected = Start();
  for (const auto& column : {ColumnRequests("A", 1, "Abitanti"), ColumnRequests("B", 3, "N.")})
    expected.insert(expected.end(), column.begin(), column.end());
  EXPECT_EQ(excel.Texts(), expected);
  EXPECT_EQ(cells, 0);
}

// The requests after the headers: the data rows and whatever ended the export.
struct Ending {
  const char* Name;
  bool Running;  // an instance ran before the export
  std::function<void(TMyDBGrid*)> Setup;
  std::vector<AnsiString> Tail;
};

void PrintTo(const Ending& e, std::ostream* os) { *os << e.Name; }

class DataExportEnding : public DataExportTest, public testing::WithParamInterface<Ending> {};

TEST_P(DataExportEnding, WritesTheCellsOrGivesUpQuietly) {
  Column("name", "Nome");
  excel.SetRunning(GetParam().Running);
  GetParam().Setup(grid);
  grid->DataExport(grid, grid);
  const std::vector<AnsiString> texts = excel.Texts();
  const size_t head = Start().size() + ColumnRequests("A", 2, "Nome").size();
  ASSERT_GE(texts.size(), head);
  EXPECT_EQ(std::vector<AnsiString>(texts.begin() + long(head), texts.end()), GetParam().Tail);
  EXPECT_EQ(excel.Starts() + excel.Attaches(), 1);
  EXPECT_EQ(excel.Attaches(), GetParam().Running ? 1 : 0);
  EXPECT_TRUE(services.Boxes.empty());
}

const Ending kEndings[] = {
    {"HandlerMovesTheCell",
     false,
     [](TMyDBGrid* g) {
       g->OnCellExport = [](TObject*, Variant, int&, int&, AnsiString& Range, AnsiString&) {
         Range = "E9:E9";
       };
     },
     {"Application.Range(\"E9:E9\")", "Range(\"E9:E9\").Value = \"Roma\""}},
    {"HandlerEmptiesTheValue",
     false,
     [](TMyDBGrid* g) {
       g->OnCellExport = [](TObject*, Variant, int&, int&, AnsiString&, AnsiString& Value) {
         Value = "";
       };
     },
     {"Application.Range(\"A2:A2\")", "Range(\"A2:A2\").Value = \"\""}},
    {"ColumnWithoutAField",
     false,
     [](TMyDBGrid* g) { g->Columns()[0].SetFieldName(""); },
     {"Application.Range(\"A2:A2\")", "Range(\"A2:A2\").Value = \"\""}},
    // Failures: the workbook added is taken back; only an instance the
    // export started is told to quit.
    {"HandlerThrowsInAStartedInstance",
     false,
     [](TMyDBGrid* g) {
       g->OnCellExport = [](TObject*, Variant, int&, int&, AnsiString&, AnsiString&) {
         throw Exception("no");
       };
     },
     {"Add().Close(False)", "Application.Quit()"}},
    {"UnknownFieldInARunningInstance",
     true,
     [](TMyDBGrid* g) { g->Columns()[0].SetFieldName("nowhere"); },
     {"Add().Close(False)"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, DataExportEnding, testing::ValuesIn(kEndings),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(DataExportTest, ARejectedRequestEndsTheExportAndAFailedStartIsRaised) {
  Column("name", "Nome");
  excel.FailRequest("Borders", 2);
  grid->DataExport(grid, grid);
  EXPECT_EQ(excel.Texts().back(), "Application.Quit()");
  excel.SetCanStart(false);
  EXPECT_THROW(grid->DataExport(grid, grid), EOleSysError);
}

// The corner click on a shown grid, with the spreadsheet server itself: the
// workbook that reaches the user's folder, as peer programs read it.
using DataExportToFile = TGridOnTable<TMyDBGrid>;

TEST_F(DataExportToFile, TheCornerClickWritesAWorkbookPeersRead) {
  TSpreadsheetFolder folder;
  Open(
      "CREATE TABLE city (id INTEGER PRIMARY KEY, name VARCHAR(40), people INTEGER);"
      "INSERT INTO city VALUES (1, 'Roma', 2800000), (2, '=HYPERLINK(\"http://x\",\"y\")', 5),"
      " (3, '@SUM(A1)', 7);",
      "city");
  grid->SetCanExport(true);
  Show();
  table->Last();
  QTest::mouseClick(grid, Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(table->RecNo(), 1);  // left on the first record
  ASSERT_EQ(services.Opened.size(), 1u) << "the workbook is opened on the desktop";
  const std::filesystem::path file = services.Opened[0];
  EXPECT_EQ(file.parent_path(), folder.Path);
  EXPECT_TRUE(services.Boxes.empty());

  const auto cells = OpenpyxlCells(file);
  ASSERT_TRUE(cells) << "python3-openpyxl cannot read " << file;
  // Numbers as numbers, texts as texts (never formulas), the header centred
  // and framed, the cells aligned as their columns.
  for (const char* cell :
       {"A1|s|id|center|thin,thin,thin,thin", "B2|s|Roma|left|-,-,-,-",
        "C2|n|2800000|right|-,-,-,-", "B3|s|=HYPERLINK(\"http://x\",\"y\")|left|-,-,-,-",
        "B4|s|@SUM(A1)|left|-,-,-,-", "A4|n|3|right|-,-,-,-"})
    EXPECT_NE(std::find(cells->begin(), cells->end(), cell), cells->end()) << cell;
  if (!LibreOfficeRuns())
    GTEST_SKIP() << "LibreOffice (soffice, Debian libreoffice-calc-nogui) cannot run here";
  const auto csv = LibreOfficeCsv(file);
  ASSERT_TRUE(csv);
  EXPECT_EQ(*csv,
            "id,name,people\n1,Roma,2800000\n2,\"=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\",5\n"
            "3,@SUM(A1),7\n");
}

}  // namespace
