#include "grid/CornerGestures.h"

bool InCornerArea(int X, int Y) { return X >= 1 && X <= 5 && Y >= 1 && Y <= 5; }

bool CornerShowsExportHint(int X, int Y, bool CanExport) { return CanExport && InCornerArea(X, Y); }

TCornerAction CornerPress(int X, int Y, TShiftState Shift, const TCornerSettings& S) {
  if (!InCornerArea(X, Y)) return caNone;
  const bool marker = S.CanExport || S.CanCustomize;
  if (marker && (Shift & ssLeft) && !(Shift & ssRight)) {
    if ((Shift & ssCtrl) && S.CanCustomize && S.CustomizeAssigned) return caCustomizeGrid;
    if (S.CanExport && Shift == ssLeft && S.DataSetReady) return caDataExport;
    return caNone;
  }
  const TShiftState chord = ssCtrl | ssShift | ssLeft | ssRight;
  if (S.CustomizeAssigned && (Shift & chord) == chord) return caCustomizeGrid;
  return caNone;
}
