#include "grid/MyDBGrid.h"

#include <cstdio>

#include "framework/forms/Palette.h"
#include "framework/ole/OleAuto.h"
#include "framework/rtl/CodePage.h"
#include "grid/CornerGestures.h"
#include "spreadsheet/SpreadsheetServer.h"

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

namespace {

// The spreadsheet's horizontal alignment of a whole column.
int AlignmentCode(TAlignment A) {
  switch (A) {
    case taRightJustify:
      return 1;
    case taCenter:
      return 3;
    default:
      return 2;
  }
}

}  // namespace

void TMyDBGrid::DataExport(TObject*, TMyDBGrid*) {
  TDataSet* dataSet = DataSource() ? DataSource()->DataSet() : nullptr;
  if (!dataSet) return;
  RegisterSpreadsheetServer();
  Variant excel;
  bool started = false;
  try {
    excel = GetActiveOleObject(kSpreadsheetProgID);
  } catch (const EOleSysError&) {
    excel = CreateOleObject(kSpreadsheetProgID);
    started = true;
  }
  Variant book;
  try {
    OlePropertySet(excel, "Visible", true);
    const Variant books = OlePropertyGet(excel, "Workbooks");
    // The same request as a plain call; the workbook is kept so that a
    // failure can take back what this export added, and nothing else.
    book = OleFunction(books, "Add");
    const int digit = Canvas()->TextWidth("0");
    for (int i = 0; i < FieldCount(); ++i) {
      const TColumn& column = Columns()[i];
      if (digit == 0) throw Exception("Division by zero");
      OlePropertySet(OlePropertyGet(excel, "Range", CodRange(i, i, 0)), "ColumnWidth",
                     column.Width() / digit);
      OlePropertySet(OlePropertyGet(excel, "Range", CodRange(i, i, 0)), "HorizontalAlignment",
                     AlignmentCode(column.Alignment()));
      OlePropertySet(OlePropertyGet(excel, "Range", CodRange(i, i, 1)), "HorizontalAlignment", 3);
      OlePropertySet(OlePropertyGet(excel, "Range", CodRange(i, i, 1)), "Value",
                     column.Title().Caption);
      for (int b = 1; b <= 4; ++b)
        OlePropertySet(
            OlePropertyGet(OlePropertyGet(excel, "Range", CodRange(i, i, 1)), "Borders", b),
            "LineStyle", 1);
    }
    dataSet->First();
    int row = 1;
    while (!dataSet->Eof()) {
      ++row;
      for (int i = 0; i < FieldCount(); ++i) {
        const TColumn& column = Columns()[i];
        AnsiString range = CodRange(i, i, row);
        AnsiString value = column.FieldName().empty()
                               ? AnsiString()
                               : dataSet->FieldByName(column.FieldName())->AsString();
        int col = i + 1, sheetRow = row;
        if (OnCellExport) OnCellExport(this, excel, col, sheetRow, range, value);
        OlePropertySet(OlePropertyGet(excel, "Range", range), "Value", value);
      }
      dataSet->Next();
    }
    dataSet->First();
  } catch (const Exception&) {
    // The export gives up silently. It takes back the workbook it added and
    // ends only an instance it started itself: one that ran before may hold
    // the user's other workbooks, unsaved work included.
    if (!book.IsEmpty()) {
      try {
        OleProcedure(book, "Close", false);
      } catch (const Exception&) {
      }
    }
    if (started) OleProcedure(excel, "Quit");
  }
}

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
