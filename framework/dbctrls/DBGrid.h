#pragma once
// TDBGrid: a data-aware grid. It shows the records of its data source's data
// set, one column per entry of Columns, follows the data set's current record
// and moves it with the selection, and edits through the data set: a typed
// cell puts the record into edit mode, leaving the row posts it, and a post
// that fails keeps the row in edit with the user's values and shows why.
//
// The grid reads only the rows it shows, so a data set of a million records
// scrolls as a short one does. Client coordinates have their origin at the
// grid's top-left corner; what Paint draws lies over the headers and cells.
#include <QTableView>
#include <memory>
#include <vector>

#include "framework/db/DataSource.h"
#include "framework/forms/Canvas.h"
#include "framework/forms/OwnerArg.h"
#include "framework/forms/WinControl.h"

class TDBGrid;
class TDBGridModel;

struct TColumnTitle {
  AnsiString Caption;
};

// One column of the grid: the field it shows and how.
class TColumn {
 public:
  const AnsiString& FieldName() const { return FFieldName; }
  void SetFieldName(const AnsiString& Value);
  // The field named by FieldName while the data set is open, else null.
  TField* Field() const;
  // In pixels.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  const TColumnTitle& Title() const { return FTitle; }
  void SetTitleCaption(const AnsiString& Value);

 private:
  friend class TDBGridColumns;
  friend class TDBGrid;
  explicit TColumn(TDBGrid* Grid) : FGrid(Grid) {}
  TDBGrid* FGrid;
  AnsiString FFieldName;
  int FWidth = 64;
  TAlignment FAlignment = taLeftJustify;
  TColumnTitle FTitle;
};

// The columns, indexed from 0. Until a program adds one, they follow the
// data set: one per field, rebuilt whenever it opens.
class TDBGridColumns {
 public:
  explicit TDBGridColumns(TDBGrid* Grid) : FGrid(Grid) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  TColumn& operator[](int Index) const;
  // A new column at the end; from then on the program decides the columns.
  TColumn& Add();
  void Clear();

 private:
  friend class TDBGrid;
  void Rebuild();  // the default columns, from the fields
  TDBGrid* FGrid;
  std::vector<std::unique_ptr<TColumn>> FItems;
  bool FCustomized = false;
};

class TDBGrid : public QTableView, public TWinControl {
  Q_OBJECT
 public:
  explicit TDBGrid(TOwnerArg AOwner);
  ~TDBGrid() override;

  QWidget* Widget() override { return this; }

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* Value);
  TDBGridColumns& Columns() { return FColumns; }
  const TDBGridColumns& Columns() const { return FColumns; }
  // The columns the grid maps to fields: every column while the data set is
  // open, none while it is closed.
  int FieldCount() const;
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }

  TCanvas* Canvas() { return &FCanvas; }

 protected:
  // Draws over the grid once the cells and titles are drawn.
  virtual void Paint() {}
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);

  void keyPressEvent(QKeyEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;
  void currentChanged(const QModelIndex& Current, const QModelIndex& Previous) override;

 private:
  friend class TColumn;
  friend class TDBGridColumns;
  friend class TDBGridModel;
  class TGridLink;
  class TOverlay;
  friend class TOverlay;

  // The data set's changes, as the link hears them.
  void LinkActiveChanged();
  void LinkDataSetChanged();
  void LinkScrolled();
  void LinkRecordChanged();
  void LinkUpdateData();
  // The columns changed: the view takes their count, captions and widths.
  void ColumnsChanged();
  // Puts the selection on the data set's current record.
  void FollowDataSet();
  // Writes a cell typed by the user into its field; false when refused.
  bool WriteCell(int Row, int Col, const AnsiString& Text);
  void PaintOverlay(QPainter& Painter);

  std::unique_ptr<TGridLink> FLink;
  TDBGridColumns FColumns{this};
  TDBGridModel* FModel;
  TOverlay* FOverlay;
  TCanvas FCanvas{this};
  bool FReadOnly = false;
  bool FFollowing = false;  // the selection is being put on the current record
  int FIndicatorRow = -1;   // where the record indicator was last drawn
};
