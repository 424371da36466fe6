#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/rtl/Exceptions.h"
#include "spreadsheet/SheetWorkbook.h"
#include "tests/support/Settings.h"
#include "tests/support/SpreadsheetFiles.h"

namespace {

using testing::ElementsAre;

struct TextCase {
  const char16_t* Text;
  TCellValue::TKind Kind;
  double Number;
};

class CellValueFromTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(CellValueFromTextTest, NumberWhenTheWholeTextReadsAsOne) {
  const TextCase& c = GetParam();
  const TCellValue v = CellValueFromText(c.Text, CommaSettings());
  EXPECT_EQ(v.Kind, c.Kind);
  if (c.Kind == TCellValue::Number) {
    EXPECT_EQ(v.Num, c.Number);
  } else if (c.Kind == TCellValue::Text) {
    EXPECT_EQ(v.Utf8, WideToUtf8(c.Text));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellValueFromTextTest,
    testing::Values(
        TextCase{u"12", TCellValue::Number, 12}, TextCase{u"-3,5", TCellValue::Number, -3.5},
        TextCase{u" +7 ", TCellValue::Number, 7}, TextCase{u"1E3", TCellValue::Number, 1000},
        TextCase{u"00123", TCellValue::Number, 123},
        TextCase{u"3.5", TCellValue::Text, 0},  // not under a decimal comma
        TextCase{u",", TCellValue::Text, 0}, TextCase{u"-", TCellValue::Text, 0},
        TextCase{u"1e999", TCellValue::Text, 0},
        TextCase{u"=HYPERLINK(\"http://x\",\"y\")", TCellValue::Text, 0},
        TextCase{u"@SUM(A1)", TCellValue::Text, 0}, TextCase{u"+1-2", TCellValue::Text, 0},
        TextCase{u"\u0663", TCellValue::Text, 0},  // a digit, but not ours
        TextCase{u"", TCellValue::Blank, 0}));

TCellValue Text(const char16_t* S) { return CellValueFromText(S, CommaSettings()); }

TEST(SheetWorkbookTest, RowsMayArriveOutOfOrderUntilTheyAreInTheFile) {
  TSpreadsheetFolder folder;
  TSheetWorkbook book(folder.Path);
  book.SetValue(ParseRangeAddress(u"B3"), Text(u"later row first"));
  book.SetValue(ParseRangeAddress(u"A2"), Text(u"1"));
  for (int row = 4; row < 4 + TSheetWorkbook::kPendingRows + 1; ++row)
    book.SetValue(ParseRangeAddress(u"A" + AnsiToWide(IntToStr(row))), Text(u"x"));
  // Row 2 has gone to the file by now.
  EXPECT_THROW(book.SetValue(ParseRangeAddress(u"C2"), Text(u"too late")), EOleSysError);
  const auto path = book.Save("rows");
  const auto cells = OpenpyxlCells(path);
  ASSERT_TRUE(cells) << "python3-openpyxl is missing (scripts/install-deps)";
  ASSERT_GE(cells->size(), 2u);
  EXPECT_EQ((*cells)[0], "A2|n|1|-|-,-,-,-");
  EXPECT_EQ((*cells)[1], "B3|s|later row first|-|-,-,-,-");
}

}  // namespace
