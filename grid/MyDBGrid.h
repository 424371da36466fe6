#pragma once
// TMyDBGrid: the data grid with an active corner. When export or
// customisation is enabled a green triangle marks the grid's top-left corner;
// a plain left click there exports the columns and records (OnDataExport,
// by default the grid's own DataExport), Ctrl + left click raises
// OnCustomizeGrid. Everything else is the data grid's own behaviour.
#include <QString>
#include <functional>

#include "framework/dbctrls/DBGrid.h"
#include "framework/rtl/Variant.h"

class TMyDBGrid;

using TMyDBGridEvent = std::function<void(TObject* Sender, TMyDBGrid* Grid)>;
// Raised for every data cell just before it is written; Col and Row are
// fresh copies, Range and Value what will be written where.
using TCellExportEvent = std::function<void(TObject* Sender, Variant Excel, int& Col, int& Row,
                                            AnsiString& Range, AnsiString& Value)>;

class TMyDBGrid : public TDBGrid {
  Q_OBJECT
  Q_PROPERTY(bool CanExport READ CanExport WRITE SetCanExport)
  Q_PROPERTY(bool CanCustomize READ CanCustomize WRITE SetCanCustomize)
  Q_PROPERTY(QString Title READ TitleValue WRITE SetTitleValue)
 public:
  explicit TMyDBGrid(TOwnerArg AOwner);
  ~TMyDBGrid() override;

  bool BindEvent(const AnsiString& Event, const TPublishedMethod& Method) override;

  bool CanExport() const { return FCanExport; }
  // The marker follows at the next paint.
  void SetCanExport(bool Value);
  bool CanCustomize() const { return FCanCustomize; }
  void SetCanCustomize(bool Value);
  // Stored with the form; the grid does not read it.
  const AnsiString& Title() const { return FTitle; }
  void SetTitle(const AnsiString& Value) { FTitle = Value; }

  TMyDBGridEvent OnCustomizeGrid;
  TMyDBGridEvent OnDataExport;
  TCellExportEvent OnCellExport;

  // Copies the columns and every record into a new spreadsheet workbook.
  virtual void DataExport(TObject* Sender, TMyDBGrid* Grid);
  // The default per-cell hook: leaves everything as it came.
  virtual void CellExport(TObject* Sender, Variant Excel, int& Col, int& Row, AnsiString& Range,
                          AnsiString& Value);

  // The letters of the 0-based sheet column Col: "A" to "Z", then "AA" to "ZZ".
  static AnsiString ColumnName(int Col);
  // "B12:D12" for a row, "A:C" (Row 0) for whole columns.
  static AnsiString CodRange(int Col1, int Col2, int Row);

 protected:
  void Paint() override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  QString TitleValue() const;
  void SetTitleValue(const QString& Value);

  bool FCanExport = false;
  bool FCanCustomize = false;
  AnsiString FTitle;
  bool FFirstPaint = true;
  bool FShowMarker = false;
  bool FSavedShowHint = false;
  AnsiString FSavedHint;
};

namespace Mydbgrid {
// Places TMyDBGrid on the component palette page "Custom".
void Register();
}  // namespace Mydbgrid
