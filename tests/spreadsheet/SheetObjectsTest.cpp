#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/ole/OleAuto.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FormatSettings.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/Settings.h"
#include "tests/support/SpreadsheetFiles.h"

namespace {

using testing::ElementsAre;

struct TColumn {
  const char* Caption;
  int Width;
  int Alignment;
};

// The requests the grid's export sends, in its order, for these columns and rows.
void Export(const std::vector<TColumn>& Columns, const std::vector<std::vector<AnsiString>>& Rows) {
  Variant app;
  try {
    app = GetActiveOleObject(kSpreadsheetProgID);
  } catch (const EOleSysError&) {
    app = CreateOleObject(kSpreadsheetProgID);
  }
  OlePropertySet(app, "Visible", true);
  Variant books = OlePropertyGet(app, "Workbooks");
  OleProcedure(books, "Add");
  for (size_t i = 0; i < Columns.size(); ++i) {
    const AnsiString letter(1, static_cast<char>('A' + i));
    const AnsiString column = letter + ":" + letter, header = letter + "1:" + letter + "1";
    OlePropertySet(OlePropertyGet(app, "Range", column), "ColumnWidth", Columns[i].Width);
    OlePropertySet(OlePropertyGet(app, "Range", column), "HorizontalAlignment",
                   Columns[i].Alignment);
    OlePropertySet(OlePropertyGet(app, "Range", header), "HorizontalAlignment", 3);
    OlePropertySet(OlePropertyGet(app, "Range", header), "Value", Columns[i].Caption);
    for (int b = 1; b <= 4; ++b)
      OlePropertySet(OlePropertyGet(OlePropertyGet(app, "Range", header), "Borders", b),
                     "LineStyle", 1);
  }
  for (size_t r = 0; r < Rows.size(); ++r) {
    for (size_t i = 0; i < Rows[r].size(); ++i) {
      const AnsiString cell = AnsiString(1, static_cast<char>('A' + i)) + IntToStr(r + 2);
      OlePropertySet(OlePropertyGet(app, "Range", cell + ":" + cell), "Value", Rows[r][i]);
    }
  }
}

TEST(SheetObjectsTest, ExportedWorkbookReadsBackAsSentInPeerPrograms) {
  TSpreadsheetFolder folder;
  TRecordingServices desktop;
  const TFormatSettings saved = FormatSettings;
  FormatSettings = FullStopSettings();
  Export({{"Code", 6, 1}, {"Name", 20, 2}, {"Note", 30, 3}},
         {{"12", "Citt\xE0", "=HYPERLINK(\"http://x\",\"y\")"},
          {"3.5", "@SUM(A1)", "-"},
          {"-7", "", "+39 333"}});
  FormatSettings = saved;

  ASSERT_EQ(desktop.Opened.size(), 1u);
  const std::filesystem::path file = desktop.Opened[0];
  EXPECT_EQ(file.parent_path(), folder.Path);
  const auto cells = OpenpyxlCells(file);
  ASSERT_TRUE(cells) << "python3-openpyxl is missing (scripts/install-deps)";
  // Numbers as numbers, everything else as text (never a formula), the
  // header centred with four borders, data cells in their column's alignment.
  EXPECT_THAT(
      *cells,
      ElementsAre("A1|s|Code|center|thin,thin,thin,thin", "B1|s|Name|center|thin,thin,thin,thin",
                  "C1|s|Note|center|thin,thin,thin,thin", "A2|n|12|right|-,-,-,-",
                  "B2|s|Citt\xC3\xA0|left|-,-,-,-",
                  "C2|s|=HYPERLINK(\"http://x\",\"y\")|center|-,-,-,-", "A3|n|3.5|right|-,-,-,-",
                  "B3|s|@SUM(A1)|left|-,-,-,-", "C3|s|-|center|-,-,-,-", "A4|n|-7|right|-,-,-,-",
                  "B4|n|None|left|-,-,-,-", "C4|s|+39 333|center|-,-,-,-", "col A|6.7109375|right",
                  "col B|20.7109375|left", "col C|30.7109375|center"));

  if (!LibreOfficeRuns())
    GTEST_SKIP() << "LibreOffice (soffice, Debian libreoffice-calc-nogui) cannot run here";
  const auto csv = LibreOfficeCsv(file);
  ASSERT_TRUE(csv) << "LibreOffice could not read the workbook";
  EXPECT_EQ(*csv,
            "Code,Name,Note\n"
            "12,Citt\xC3\xA0,\"=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\"\n"
            "3.5,@SUM(A1),-\n"
            "-7,,+39 333\n");
}

}  // namespace
