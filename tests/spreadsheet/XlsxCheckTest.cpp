#include <gtest/gtest.h>

#include "spreadsheet/XlsxCheck.h"
#include "tests/support/SpreadsheetFiles.h"

namespace {

struct ArchiveCase {
  const char* Name;
  const char* Sheet;  // the sheet part, deflated into an archive
  uint64_t SheetDataBytes;
  bool Complete;
};

void PrintTo(const ArchiveCase& c, std::ostream* os) { *os << c.Name; }

class XlsxCheckTest : public testing::TestWithParam<ArchiveCase> {};

TEST_P(XlsxCheckTest, FindsCutParts) {
  const ArchiveCase& c = GetParam();
  TSpreadsheetFolder folder;
  const auto path = (folder.Path / "book.xlsx").string();
  const auto made = CommandOutput(
      "/usr/bin/python3 -c 'import sys, zipfile\n"
      "z = zipfile.ZipFile(sys.argv[1], \"w\", zipfile.ZIP_DEFLATED)\n"
      "z.writestr(\"_rels/.rels\", \"<?xml version=\\\"1.0\\\"?>\\n<Relationships/>\")\n"
      "z.writestr(\"xl/worksheets/sheet1.xml\", sys.argv[2])' " +
      path + " '" + c.Sheet + "'");
  ASSERT_TRUE(made) << "python3 is missing (scripts/install-deps)";
  std::string problem;
  EXPECT_EQ(XlsxComplete(path, c.SheetDataBytes, problem), c.Complete) << problem;
  EXPECT_EQ(problem.empty(), c.Complete);
}

#define XML "<?xml version=\"1.0\"?>\n"
INSTANTIATE_TEST_SUITE_P(
    Cases, XlsxCheckTest,
    testing::Values(
        ArchiveCase{"Complete", XML "<worksheet><sheetData><row/></sheetData></worksheet>\n", 6,
                    true},
        ArchiveCase{"CutAtTheEnd", XML "<worksheet><sheetData><row/></sheetData></works", 6, false},
        ArchiveCase{"ShorterThanItsRowData", XML "<worksheet><sheetData/></worksheet>", 1000,
                    false}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
