#include "framework/dbctrls/DBGrid.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "framework/db/DataLink.h"
#include "framework/forms/HandlerGuard.h"
#include "framework/rtl/CodePage.h"

// The records as rows and the columns as columns, read when shown.
class TDBGridModel : public QAbstractTableModel {
 public:
  explicit TDBGridModel(TDBGrid* Grid) : QAbstractTableModel(Grid), FGrid(Grid) {}

  TDataSet* DataSet() const {
    TDataSet* ds = FGrid->DataSource() ? FGrid->DataSource()->DataSet() : nullptr;
    return ds && ds->Active() ? ds : nullptr;
  }
  int rowCount(const QModelIndex& Parent) const override {
    const TDataSet* ds = DataSet();
    return Parent.isValid() || !ds ? 0 : ds->RecordCount();
  }
  int columnCount(const QModelIndex& Parent) const override {
    return Parent.isValid() ? 0 : FGrid->Columns().Count();
  }
  QVariant data(const QModelIndex& Index, int Role) const override {
    TDataSet* ds = DataSet();
    if (!ds || !Index.isValid() || Index.row() >= ds->RecordCount() ||
        Index.column() >= columnCount({}))
      return {};
    const TColumn& column = FGrid->Columns()[Index.column()];
    if (Role == Qt::TextAlignmentRole) return int(AlignmentOf(column.Alignment()));
    if (Role != Qt::DisplayRole && Role != Qt::EditRole) return {};
    TField* field = column.Field();
    if (!field) return QString();
    AnsiString text;
    Guarded([&] {
      TRecordScope scope(*ds, Index.row() + 1);
      text = field->AsString();
    });
    return AnsiToQString(text);
  }
  QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override {
    if (Orientation == Qt::Horizontal) {
      if (Role != Qt::DisplayRole || Section >= columnCount({})) return {};
      return AnsiToQString(FGrid->Columns()[Section].Title().Caption);
    }
    if (Role != Qt::DisplayRole) return {};
    // The record indicator: the current record, and how it is being edited.
    const TDataSet* ds = DataSet();
    if (!ds || Section != ds->RecNo() - 1) return QString();
    if (ds->State() == dsInsert) return QStringLiteral("*");
    if (ds->State() == dsEdit) return QStringLiteral("\u270E");
    return QStringLiteral("\u25B6");
  }
  Qt::ItemFlags flags(const QModelIndex& Index) const override {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const TDataSet* ds = DataSet();
    if (!ds || !Index.isValid() || FGrid->ReadOnly() || !ds->CanModify()) return f;
    const TField* field = FGrid->Columns()[Index.column()].Field();
    if (field && !field->ReadOnly()) f |= Qt::ItemIsEditable;
    return f;
  }
  bool setData(const QModelIndex& Index, const QVariant& Value, int Role) override {
    if (Role != Qt::EditRole || !Index.isValid()) return false;
    return FGrid->WriteCell(Index.row(), Index.column(), QStringToAnsi(Value.toString()));
  }

  void Reset() {
    beginResetModel();
    endResetModel();
  }
  void RowChanged(int Row) {
    if (Row < 0 || Row >= rowCount({})) return;
    emit dataChanged(index(Row, 0), index(Row, std::max(0, columnCount({}) - 1)));
    emit headerDataChanged(Qt::Vertical, Row, Row);
  }

 private:
  static Qt::Alignment AlignmentOf(TAlignment A) {
    const Qt::Alignment h = A == taRightJustify ? Qt::AlignRight
                            : A == taCenter     ? Qt::AlignHCenter
                                                : Qt::AlignLeft;
    return h | Qt::AlignVCenter;
  }
  TDBGrid* FGrid;
};

class TDBGrid::TGridLink : public TDataLink {
 public:
  explicit TGridLink(TDBGrid* Grid) : FGrid(Grid) {}

 protected:
  void ActiveChanged() override { FGrid->LinkActiveChanged(); }
  void DataSetChanged() override { FGrid->LinkDataSetChanged(); }
  void DataSetScrolled(int) override { FGrid->LinkScrolled(); }
  void RecordChanged(TField*) override { FGrid->LinkRecordChanged(); }
  void EditingChanged() override { FGrid->LinkRecordChanged(); }
  void UpdateData() override { FGrid->LinkUpdateData(); }

 private:
  TDBGrid* FGrid;
};

// Lies over the whole grid, lets the mouse through, and draws what Paint draws.
class TDBGrid::TOverlay : public QWidget {
 public:
  explicit TOverlay(TDBGrid* Grid) : QWidget(Grid), FGrid(Grid) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    FGrid->PaintOverlay(painter);
  }

 private:
  TDBGrid* FGrid;
};

void TColumn::SetFieldName(const AnsiString& Value) {
  FFieldName = Value;
  FGrid->ColumnsChanged();
}

TField* TColumn::Field() const {
  const TDataSource* source = FGrid->DataSource();
  TDataSet* ds = source ? source->DataSet() : nullptr;
  if (!ds || !ds->Active() || FFieldName.empty()) return nullptr;
  return ds->FindField(FFieldName);
}

void TColumn::SetWidth(int Value) {
  FWidth = std::max(0, Value);
  FGrid->ColumnsChanged();
}

void TColumn::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  FGrid->ColumnsChanged();
}

void TColumn::SetTitleCaption(const AnsiString& Value) {
  FTitle.Caption = Value;
  FGrid->ColumnsChanged();
}

TColumn& TDBGridColumns::operator[](int Index) const {
  if (Index < 0 || Index >= Count())
    throw Exception("List index out of bounds (" + std::to_string(Index) + ")");
  return *FItems[static_cast<size_t>(Index)];
}

TColumn& TDBGridColumns::Add() {
  if (!FCustomized) FItems.clear();
  FCustomized = true;
  FItems.push_back(std::unique_ptr<TColumn>(new TColumn(FGrid)));
  FGrid->ColumnsChanged();
  return *FItems.back();
}

void TDBGridColumns::Clear() {
  FItems.clear();
  FCustomized = false;
  Rebuild();
}

void TDBGridColumns::Rebuild() {
  if (FCustomized) return;
  FItems.clear();
  const TDataSource* source = FGrid->DataSource();
  const TDataSet* ds = source ? source->DataSet() : nullptr;
  if (ds && ds->Active()) {
    const int digit = std::max(1, FGrid->FCanvas.TextWidth("0"));
    for (int i = 0; i < ds->FieldCount(); ++i) {
      const TField* field = ds->Fields()[i];
      auto column = std::unique_ptr<TColumn>(new TColumn(FGrid));
      column->FFieldName = field->FieldName();
      column->FAlignment = field->Alignment();
      column->FTitle.Caption = field->DisplayLabel();
      column->FWidth =
          std::max(field->DisplayWidth() * digit, FGrid->FCanvas.TextWidth(field->DisplayLabel())) +
          8;
      FItems.push_back(std::move(column));
    }
  }
  FGrid->ColumnsChanged();
}

TDBGrid::TDBGrid(TOwnerArg AOwner)
    : QTableView(AOwner.Parent),
      TWinControl(AOwner.Owner),
      FLink(std::make_unique<TGridLink>(this)),
      FModel(new TDBGridModel(this)),
      FOverlay(new TOverlay(this)) {
  SetTabStop(true);
  setModel(FModel);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Typing in a cell starts editing it, as do F2 and a double click.
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  // Rows of one height: the view never measures a row it does not show.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  verticalHeader()->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("\u25B6")) + 12);
  horizontalHeader()->setHighlightSections(false);
  // The corner belongs to what the grid draws there, not to "select all".
  setCornerButtonEnabled(false);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int Section, int, int Size) {
            if (Section < FColumns.Count()) FColumns[Section].FWidth = Size;
          });
  // Mouse moves and presses anywhere on the grid, its titles and its corner
  // included, in the grid's own coordinates.
  setMouseTracking(true);
  installEventFilter(this);
  for (QWidget* w : {viewport(), horizontalHeader()->viewport(), verticalHeader()->viewport()}) {
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }
  // Presses on the corner reach the grid itself.
  if (auto* corner = findChild<QAbstractButton*>())
    corner->setAttribute(Qt::WA_TransparentForMouseEvents);
  FOverlay->raise();
}

TDBGrid::~TDBGrid() { FLink->SetDataSource(nullptr); }

TDataSource* TDBGrid::DataSource() const { return FLink->DataSource(); }

void TDBGrid::SetDataSource(TDataSource* Value) { FLink->SetDataSource(Value); }

int TDBGrid::FieldCount() const { return FModel->DataSet() ? FColumns.Count() : 0; }

void TDBGrid::LinkActiveChanged() {
  FColumns.Rebuild();
  FModel->Reset();
  ColumnsChanged();
  FollowDataSet();
}

void TDBGrid::LinkDataSetChanged() {
  FModel->Reset();
  ColumnsChanged();
  FollowDataSet();
}

void TDBGrid::LinkScrolled() {
  // The indicator leaves the old row for the new one; only those two change.
  const int rows = FModel->rowCount({});
  const int row = FModel->DataSet() ? FModel->DataSet()->RecNo() - 1 : -1;
  for (const int r : {FIndicatorRow, row})
    if (r >= 0 && r < rows) emit FModel->headerDataChanged(Qt::Vertical, r, r);
  FIndicatorRow = row;
  FollowDataSet();
}

void TDBGrid::LinkRecordChanged() {
  if (const TDataSet* ds = FModel->DataSet()) FModel->RowChanged(ds->RecNo() - 1);
}

void TDBGrid::LinkUpdateData() {
  // Text still in a cell editor goes into its field before the record is
  // written. The open editor is the focused child of the cells.
  if (state() != QAbstractItemView::EditingState) return;
  QWidget* editor = QApplication::focusWidget();
  while (editor && editor->parentWidget() != viewport()) editor = editor->parentWidget();
  if (editor) commitData(editor);
}

void TDBGrid::ColumnsChanged() {
  FModel->Reset();
  for (int i = 0; i < FColumns.Count(); ++i)
    horizontalHeader()->resizeSection(i, FColumns[i].Width());
  FollowDataSet();
}

void TDBGrid::FollowDataSet() {
  const TDataSet* ds = FModel->DataSet();
  if (!ds || ds->IsEmpty() || FColumns.Count() == 0) return;
  const int row = ds->RecNo() - 1;
  const int col = currentIndex().isValid() ? currentIndex().column() : 0;
  if (currentIndex().row() == row && currentIndex().isValid()) return;
  FFollowing = true;
  setCurrentIndex(FModel->index(row, col));
  FFollowing = false;
}

void TDBGrid::currentChanged(const QModelIndex& Current, const QModelIndex& Previous) {
  QTableView::currentChanged(Current, Previous);
  TDataSet* ds = FModel->DataSet();
  if (FFollowing || !ds || !Current.isValid() || Current.row() == ds->RecNo() - 1) return;
  // Leaving a row posts it; a post that fails keeps the row, in edit, with
  // the user's values, and says why.
  try {
    ds->SetRecNo(Current.row() + 1);
  } catch (const Exception& e) {
    HandleException(e);
    QMetaObject::invokeMethod(
        this, [this] { FollowDataSet(); }, Qt::QueuedConnection);
  }
}

bool TDBGrid::WriteCell(int Row, int Col, const AnsiString& Text) {
  TDataSet* ds = FModel->DataSet();
  if (!ds || Col >= FColumns.Count()) return false;
  TField* field = FColumns[Col].Field();
  if (!field) return false;
  bool written = false;
  Guarded([&] {
    if (ds->RecNo() - 1 != Row) ds->SetRecNo(Row + 1);
    if (ds->State() != dsEdit && ds->State() != dsInsert) ds->Edit();
    field->SetAsString(Text);
    written = true;
  });
  return written;
}

void TDBGrid::keyPressEvent(QKeyEvent* Event) {
  ProcessKeyPress(Event, [this](QKeyEvent* e) {
    TDataSet* ds = FModel->DataSet();
    // Escape with no cell being typed in gives up the record's changes.
    if (e->key() == Qt::Key_Escape && state() != QAbstractItemView::EditingState && ds &&
        (ds->State() == dsEdit || ds->State() == dsInsert)) {
      Guarded([ds] { ds->Cancel(); });
      return;
    }
    QTableView::keyPressEvent(e);
  });
}

void TDBGrid::resizeEvent(QResizeEvent* Event) {
  QTableView::resizeEvent(Event);
  FOverlay->setGeometry(rect());
  FOverlay->raise();
}

void TDBGrid::PaintOverlay(QPainter& Painter) {
  FCanvas.SetPainter(&Painter);
  Guarded([this] { Paint(); });
  FCanvas.SetPainter(nullptr);
}

void TDBGrid::MouseMove(TShiftState, int, int) {}

void TDBGrid::MouseDown(TMouseButton, TShiftState, int, int) {}

bool TDBGrid::eventFilter(QObject* Watched, QEvent* Event) {
  const QEvent::Type type = Event->type();
  if (type == QEvent::MouseMove || type == QEvent::MouseButtonPress ||
      type == QEvent::MouseButtonDblClick) {
    auto* w = qobject_cast<QWidget*>(Watched);
    const auto* mouse = static_cast<QMouseEvent*>(Event);
    const QPoint p = w == this ? mouse->position().toPoint()
                     : w       ? w->mapTo(this, mouse->position().toPoint())
                               : QPoint();
    // An event a watched child leaves unhandled comes on to the grid: it was
    // seen there already.
    bool seen = false;
    if (w == this) {
      const QWidget* child = childAt(p);
      for (const QWidget* watched :
           {viewport(), horizontalHeader()->viewport(), verticalHeader()->viewport()})
        seen |= child && (child == watched || watched->isAncestorOf(child));
    }
    if (w && !seen) {
      if (type == QEvent::MouseMove)
        Guarded([&] { MouseMove(ShiftStateOf(mouse), p.x(), p.y()); });
      else
        Guarded([&] { MouseDown(MouseButtonOf(mouse), ShiftStateOf(mouse), p.x(), p.y()); });
    }
  }
  return QTableView::eventFilter(Watched, Event);
}
