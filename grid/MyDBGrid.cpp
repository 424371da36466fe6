#include "grid/MyDBGrid.h"

#include <cstdio>

#include "framework/forms/Palette.h"
#include "framework/rtl/CodePage.h"
#include "grid/CornerGestures.h"

TMyDBGrid::TMyDBGrid(TOwnerArg AOwner) : TDBGrid(AOwner) {
  OnDataExport = [this](TObject* Sender, TMyDBGrid* Grid) { DataExport(Sender, Grid); };
  OnCellExport = [this](TObject* Sender, Variant Excel, int& Col, int& Row, AnsiString& Range,
                        AnsiString& Value) {
    CellExport(Sender, std::move(Excel), Col, Row, Range, Value);
  };
}

TMyDBGrid::~TMyDBGrid() {
  FTitle.clear();
  FSavedHint.clear();
}

bool TMyDBGrid::BindEvent(const AnsiString& Event, const TPublishedMethod& Method) {
  if (Event == "OnCustomizeGrid") {
    Method.BindTo(OnCustomizeGrid);
  } else if (Event == "OnDataExport") {
    Method.BindTo(OnDataExport);
  } else if (Event == "OnCellExport") {
    Method.BindTo(OnCellExport);
  } else {
    return TDBGrid::BindEvent(Event, Method);
  }
  return true;
}

void TMyDBGrid::SetCanExport(bool Value) {
  FCanExport = Value;
  FShowMarker = FCanExport || FCanCustomize;
}

void TMyDBGrid::SetCanCustomize(bool Value) {
  FCanCustomize = Value;
  FShowMarker = FCanExport || FCanCustomize;
}

void TMyDBGrid::Paint() {
  TDBGrid::Paint();
  if (FFirstPaint) {
    FSavedHint = Hint();
    FSavedShowHint = ShowHint();
    FFirstPaint = false;
  }
  if (FShowMarker) {
    Canvas()->Brush.Color = clGreen;
    Canvas()->Pen.Color = clGreen;
    Canvas()->Polygon({{1, 1}, {5, 1}, {1, 5}});
  }
}

void TMyDBGrid::MouseMove(TShiftState Shift, int X, int Y) {
  TDBGrid::MouseMove(Shift, X, Y);
  if (CornerShowsExportHint(X, Y, FCanExport)) {
    SetCursor(crHandPoint);
    SetHint("Crea documento Excel");
    SetShowHint(true);
    return;
  }
  SetCursor(crDefault);
  if (Hint() != FSavedHint) {
    SetHint(FSavedHint);
    SetShowHint(FSavedShowHint);
  }
}

void TMyDBGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TDBGrid::MouseDown(Button, Shift, X, Y);
  const TDataSet* ds = DataSource() ? DataSource()->DataSet() : nullptr;
  const TCornerSettings settings{FCanExport, FCanCustomize, bool(OnCustomizeGrid),
                                 ds && ds->Active()};
  switch (CornerPress(X, Y, Shift, settings)) {
    case caCustomizeGrid:
      OnCustomizeGrid(this, this);
      break;
    case caDataExport:
      if (OnDataExport) OnDataExport(this, this);
      break;
    case caNone:
      break;
  }
}

void TMyDBGrid::DataExport(TObject*, TMyDBGrid*) {}

void TMyDBGrid::CellExport(TObject*, Variant, int&, int&, AnsiString&, AnsiString&) {}

AnsiString TMyDBGrid::ColumnName(int Col) {
  char buf[4];
  if (Col < 26)
    std::snprintf(buf, sizeof buf, "%c", 'A' + Col);
  else
    std::snprintf(buf, sizeof buf, "%c%c", 64 + Col / 26, 'A' + Col % 26);
  return buf;
}

AnsiString TMyDBGrid::CodRange(int Col1, int Col2, int Row) {
  if (Row == 0) return ColumnName(Col1) + ":" + ColumnName(Col2);
  const AnsiString row = std::to_string(Row);
  return ColumnName(Col1) + row + ":" + ColumnName(Col2) + row;
}

QString TMyDBGrid::TitleValue() const { return AnsiToQString(FTitle); }

void TMyDBGrid::SetTitleValue(const QString& Value) { FTitle = QStringToAnsi(Value); }

namespace Mydbgrid {
void Register() {
  RegisterComponents("Custom", {ComponentClass<TMyDBGrid>("TMyDBGrid", "grid/MyDBGrid.h")});
}
}  // namespace Mydbgrid
