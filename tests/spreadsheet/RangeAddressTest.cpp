#include <gtest/gtest.h>

#include "framework/rtl/Exceptions.h"
#include "spreadsheet/RangeAddress.h"

namespace {

struct AddressCase {
  const char16_t* Text;
  int FirstCol, LastCol, FirstRow, LastRow;
  bool WholeColumns;
};

class RangeAddressTest : public testing::TestWithParam<AddressCase> {};

TEST_P(RangeAddressTest, Parses) {
  const AddressCase& c = GetParam();
  const TRangeAddress r = ParseRangeAddress(c.Text);
  EXPECT_EQ(r.FirstCol, c.FirstCol);
  EXPECT_EQ(r.LastCol, c.LastCol);
  EXPECT_EQ(r.FirstRow, c.FirstRow);
  EXPECT_EQ(r.LastRow, c.LastRow);
  EXPECT_EQ(r.WholeColumns, c.WholeColumns);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RangeAddressTest,
    testing::Values(AddressCase{u"A1:A1", 0, 0, 0, 0, false}, AddressCase{u"B7", 1, 1, 6, 6, false},
                    AddressCase{u"D9:b7", 1, 3, 6, 8, false},  // corners in any order
                    AddressCase{u"$AA$12:ZZ12", 26, 701, 11, 11, false},
                    AddressCase{u"A:C", 0, 2, 0, kSheetRows - 1, true},
                    AddressCase{u"XFD1048576", kSheetColumns - 1, kSheetColumns - 1, kSheetRows - 1,
                                kSheetRows - 1, false}));

class BadRangeAddressTest : public testing::TestWithParam<const char16_t*> {};

TEST_P(BadRangeAddressTest, Refused) { EXPECT_THROW(ParseRangeAddress(GetParam()), EOleSysError); }

INSTANTIATE_TEST_SUITE_P(Cases, BadRangeAddressTest,
                         testing::Values(u"", u"A", u"A0", u"XFE1", u"A1048577", u"A1:B", u"1:1",
                                         u"A1:", u"A-1", u"A1 ", u"A$:B$", u"\u00C01"));

}  // namespace
