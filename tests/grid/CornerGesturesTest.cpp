#include <gtest/gtest.h>

#include "grid/CornerGestures.h"

namespace {

TEST(CornerArea, ShowsTheExportHintOnlyWhereExportIsPossible) {
  EXPECT_TRUE(CornerShowsExportHint(5, 5, true));
  EXPECT_FALSE(CornerShowsExportHint(5, 5, false));
  EXPECT_FALSE(CornerShowsExportHint(6, 3, true));
}

struct Gesture {
  const char* Name;
  TShiftState Shift;
  TCornerSettings Settings;  // CanExport, CanCustomize, CustomizeAssigned, DataSetReady
  TCornerAction Action;
};

void PrintTo(const Gesture& g, std::ostream* os) { *os << g.Name; }

class Press : public testing::TestWithParam<Gesture> {};

// Every point of the square 1..5 x 1..5 decides alike; the border around
// it (0 and 6) never acts.
TEST_P(Press, DecidesTheSameAllOverTheSquare) {
  const Gesture& g = GetParam();
  for (int x = 0; x <= 6; ++x)
    for (int y = 0; y <= 6; ++y) {
      const bool square = x >= 1 && x <= 5 && y >= 1 && y <= 5;
      EXPECT_EQ(CornerPress(x, y, g.Shift, g.Settings), square ? g.Action : caNone)
          << x << "," << y;
    }
}

constexpr TCornerSettings kAll{true, true, true, true};
constexpr TCornerSettings kNone{false, false, true, true};
constexpr TCornerSettings kExportOnly{true, false, true, true};
constexpr TCornerSettings kCustomizeOnly{false, true, true, true};

INSTANTIATE_TEST_SUITE_P(
    Gestures, Press,
    testing::Values(
        Gesture{"LeftExports", ssLeft, kAll, caDataExport},
        Gesture{"LeftExportsWithExportOnly", ssLeft, kExportOnly, caDataExport},
        Gesture{"LeftNeedsAReadyDataSet", ssLeft, {true, true, true, false}, caNone},
        Gesture{"LeftDoesNothingWithCustomizeOnly", ssLeft, kCustomizeOnly, caNone},
        Gesture{"ShiftLeftDoesNotExport", ssLeft | ssShift, kAll, caNone},
        Gesture{"AltLeftDoesNotExport", ssLeft | ssAlt, kAll, caNone},
        Gesture{"DoubleClickDoesNotExport", ssLeft | ssDouble, kAll, caNone},
        Gesture{"LeftAndMiddleDoNotExport", ssLeft | ssMiddle, kAll, caNone},
        Gesture{"CtrlLeftCustomizes", ssLeft | ssCtrl, kAll, caCustomizeGrid},
        Gesture{"CtrlLeftCustomizesWithCustomizeOnly", ssLeft | ssCtrl, kCustomizeOnly,
                caCustomizeGrid},
        Gesture{"CtrlLeftNeedsCanCustomize", ssLeft | ssCtrl, kExportOnly, caNone},
        Gesture{"CtrlLeftNeedsAHandler", ssLeft | ssCtrl, {true, true, false, true}, caNone},
        Gesture{"CtrlDoubleClickCustomizes", ssLeft | ssCtrl | ssDouble, kAll, caCustomizeGrid},
        Gesture{"RightAloneDoesNothing", ssRight, kAll, caNone},
        Gesture{"NoButtonDoesNothing", 0, kAll, caNone},
        Gesture{"ChordCustomizesWithoutMarker", ssCtrl | ssShift | ssLeft | ssRight, kNone,
                caCustomizeGrid},
        Gesture{"ChordCustomizesWithMarker", ssCtrl | ssShift | ssLeft | ssRight, kAll,
                caCustomizeGrid},
        Gesture{"ChordWithMoreCustomizes", ssCtrl | ssShift | ssAlt | ssLeft | ssRight | ssMiddle,
                kExportOnly, caCustomizeGrid},
        Gesture{"ChordNeedsAHandler",
                ssCtrl | ssShift | ssLeft | ssRight,
                {true, true, false, true},
                caNone},
        Gesture{"ChordNeedsShift", ssCtrl | ssLeft | ssRight, kAll, caNone},
        Gesture{"LeftWithoutMarkerDoesNothing", ssLeft, kNone, caNone},
        Gesture{"CtrlShiftLeftWithoutMarkerDoesNothing", ssCtrl | ssShift | ssLeft, kNone, caNone}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
