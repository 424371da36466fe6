#pragma once
// The grid's active corner, decided apart from any widget: where the corner
// is, what the pointer over it shows and what a press in it does. Client
// pixels, origin at the grid's top-left corner.
#include "framework/forms/KeyCodes.h"

// The 5 x 5 square 1 <= X <= 5, 1 <= Y <= 5.
bool InCornerArea(int X, int Y);

// The hand cursor and the hint "Crea documento Excel" over the corner.
bool CornerShowsExportHint(int X, int Y, bool CanExport);

struct TCornerSettings {
  bool CanExport = false;
  bool CanCustomize = false;
  bool CustomizeAssigned = false;  // OnCustomizeGrid has a handler
  bool DataSetReady = false;       // data source, data set, active
};

enum TCornerAction { caNone, caDataExport, caCustomizeGrid };

// What a press at (X, Y) with Shift (the button pressed included) does.
TCornerAction CornerPress(int X, int Y, TShiftState Shift, const TCornerSettings& Settings);
