#include <gtest/gtest.h>

#include <cmath>

#include "controls/ValueChecks.h"
#include "tests/support/Settings.h"

namespace {

struct Range {
  CharFilterType filter;
  Variant min, max;
  const char* text;
  bool valid;
};

void PrintTo(const Range& r, std::ostream* os) {
  *os << "filter " << int(r.filter) << ", text " << r.text;
}

class Bounds : public testing::TestWithParam<Range> {};

TEST_P(Bounds, DecideValidity) {
  const auto& p = GetParam();
  EXPECT_EQ(ValueInBounds(p.text, p.filter, p.min, p.max, CommaSettings()), p.valid);
}

const Variant none;
const Variant may1 = Variant::FromDate(EncodeDate(2008, 5, 1));
const Variant may31 = Variant::FromDate(EncodeDate(2008, 5, 31));
const Variant nanDate = Variant::FromDate(NAN);

INSTANTIATE_TEST_SUITE_P(
    Table, Bounds,
    testing::Values(
        Range{chNumber, 10, 20, "10", true}, Range{chNumber, 10, 20, "15", true},
        Range{chNumber, 10, 20, "20", true}, Range{chNumber, 10, 20, "9", false},
        Range{chNumber, 10, 20, "21", false},
        // An unset bound does not limit its side.
        Range{chNumber, 10, none, "15", true}, Range{chNumber, 10, none, "9", false},
        Range{chNumber, none, 20, "5", true}, Range{chNumber, none, 20, "0", true},
        Range{chNumber, none, 20, "21", false}, Range{chNumber, none, none, "abc", true},
        Range{chNumber, 10, 20, "1x", false}, Range{chNumber, "abc", 20, "15", false},
        Range{chNumber, Variant::Null(), 20, "15", false},
        // Decimals compare as decimal numbers with the regional separator.
        Range{chDecimal, 0, 100, "5", true}, Range{chDecimal, 0, 100, "5,5", true},
        Range{chDecimal, 0, 100, "100,5", false}, Range{chDecimal, 0, 100, "-0,5", false},
        Range{chDecimal, 0.5, none, "0,4", false}, Range{chDecimal, 0, 100, "5.5", false},
        Range{chDecimal, none, none, "5,5,5", true},
        // Without a digit there is no number, though the conversion reads zero.
        Range{chDecimal, 0, 100, ",", false}, Range{chDecimal, 0, 100, "-,", false},
        Range{chDecimal, 0, 100, ",E5", false}, Range{chNumber, 0, 100, "+", false},
        // Dates, with a time after midnight on the last day above the bound.
        Range{chDate, may1, may31, "12/05/2008", true},
        Range{chDate, may1, may31, "31/05/2008", true},
        Range{chDate, may1, may31, "31/05/2008 00:01", false},
        Range{chDate, may1, may31, "30/04/2008", false},
        Range{chDate, may1, may31, "31/02/2008", false},
        Range{chDate, may1, none, "01/06/2030", true},
        Range{chDate, none, none, "99/99/9999", true},
        // A bound that is no date fails the check on either side.
        Range{chDate, nanDate, none, "12/05/2008", false},
        Range{chDate, none, nanDate, "12/05/2008", false},
        // Filters without a range check.
        Range{chDefault, 10, 20, "abc", true}, Range{chFirstCap, 10, 20, "5", true}));

struct Mail {
  const char* text;
  bool valid;
};

void PrintTo(const Mail& m, std::ostream* os) { *os << m.text; }

class EMail : public testing::TestWithParam<Mail> {};

TEST_P(EMail, Shape) { EXPECT_EQ(EMailShapeValid(GetParam().text), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(Table, EMail,
                         testing::Values(Mail{"a@b.c", true}, Mail{"a b@b.c", true},
                                         Mail{"a@b..c", true}, Mail{"mario.rossi@posta.it", true},
                                         Mail{"@b.c", false}, Mail{"ab@", false},
                                         Mail{"a@.c", false}, Mail{"a@bc", false},
                                         Mail{"a@b.c.", false}, Mail{"a@b@c.d", false},
                                         Mail{"a,b@c.d", false}, Mail{"abc", false}));

}  // namespace
