#include "framework/dbctrls/DBLookupComboBox.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "framework/db/DataLink.h"
#include "framework/forms/HandlerGuard.h"
#include "framework/rtl/CodePage.h"

// The list data set as rows of display text, read only for the rows shown.
class TLookupListModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  void Reset(TDataSet* DataSet, TField* Display) {
    beginResetModel();
    FDataSet = DataSet;
    FDisplay = Display;
    endResetModel();
  }
  int rowCount(const QModelIndex& Parent) const override {
    if (Parent.isValid() || !FDataSet || !FDisplay || !FDataSet->Active()) return 0;
    return FDataSet->RecordCount();
  }
  QVariant data(const QModelIndex& Index, int Role) const override {
    if (Role != Qt::DisplayRole || !Index.isValid() || Index.row() >= rowCount({})) return {};
    AnsiString text;
    Guarded([&] {
      TRecordScope scope(*FDataSet, Index.row() + 1);
      text = FDisplay->AsString();
    });
    return AnsiToQString(text);
  }

 private:
  TDataSet* FDataSet = nullptr;
  TField* FDisplay = nullptr;
};

// The data set that holds the field.
class TDBLookupComboBox::TFieldLink : public TDataLink {
 public:
  explicit TFieldLink(TDBLookupComboBox* Control) : FControl(Control) {}

 protected:
  void ActiveChanged() override {
    FControl->ListChanged();
    FControl->KeyChanged();
  }
  void DataSetChanged() override { FControl->KeyChanged(); }
  void DataSetScrolled(int) override { FControl->KeyChanged(); }
  void RecordChanged(TField*) override { FControl->KeyChanged(); }

 private:
  TDBLookupComboBox* FControl;
};

// The list of a plain data field.
class TDBLookupComboBox::TListLink : public TDataLink {
 public:
  explicit TListLink(TDBLookupComboBox* Control) : FControl(Control) {}

 protected:
  void ActiveChanged() override { FControl->ListChanged(); }
  void DataSetChanged() override { FControl->ListChanged(); }

 private:
  TDBLookupComboBox* FControl;
};

AnsiString FieldNameAt(const AnsiString& Names, int Index) {
  AnsiString name;
  int n = Index;
  if (n < 0) return name;
  for (char c : Names) {
    if (c == ';') {
      if (--n < 0) break;
    } else if (n == 0) {
      name += c;
    }
  }
  return name;
}

TDBLookupComboBox::TDBLookupComboBox(TOwnerArg AOwner)
    : QWidget(AOwner.Parent),
      TWinControl(AOwner.Owner),
      FFieldLink(std::make_unique<TFieldLink>(this)),
      FListLink(std::make_unique<TListLink>(this)) {
  SetTabStop(true);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  resize(145, 21);

  FList = new QListView(this);
  FList->setWindowFlags(Qt::Popup);
  FList->setUniformItemSizes(true);
  FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FList->setSelectionMode(QAbstractItemView::SingleSelection);
  FList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  FModel = new TLookupListModel(FList);
  FList->setModel(FModel);
  FList->installEventFilter(this);
  FList->viewport()->installEventFilter(this);
  // A click picks the record under the mouse, Enter the highlighted one.
  const auto pick = [this](const QModelIndex& Index) {
    if (!FListShown || !Index.isValid()) return;
    FList->setCurrentIndex(Index);
    Guarded([this] { CloseUp(true); });
  };
  connect(FList, &QListView::clicked, this, pick);
  connect(FList, &QListView::activated, this, pick);
  connect(qApp, &QApplication::focusChanged, this, &TDBLookupComboBox::FocusChanged);
}

TDBLookupComboBox::~TDBLookupComboBox() {
  FFieldLink->SetDataSource(nullptr);
  FListLink->SetDataSource(nullptr);
}

bool TDBLookupComboBox::BindEvent(const AnsiString& Event, const TPublishedMethod& Method) {
  if (Event == "OnDropDown") {
    Method.BindTo(OnDropDown);
    return true;
  }
  if (Event == "OnCloseUp") {
    Method.BindTo(OnCloseUp);
    return true;
  }
  return TWinControl::BindEvent(Event, Method);
}

TDataSource* TDBLookupComboBox::DataSource() const { return FFieldLink->DataSource(); }

void TDBLookupComboBox::SetDataSource(TDataSource* Value) { FFieldLink->SetDataSource(Value); }

void TDBLookupComboBox::SetDataField(const AnsiString& Value) {
  FDataField = Value;
  ListChanged();
  KeyChanged();
}

TField* TDBLookupComboBox::Field() const {
  TDataSet* ds = FFieldLink->DataSet();
  if (!ds || !ds->Active() || FDataField.empty()) return nullptr;
  return ds->FindField(FDataField);
}

TDataSource* TDBLookupComboBox::ListSource() const { return FListLink->DataSource(); }

void TDBLookupComboBox::SetListSource(TDataSource* Value) { FListLink->SetDataSource(Value); }

void TDBLookupComboBox::SetKeyField(const AnsiString& Value) {
  FKeyField = Value;
  ListChanged();
}

void TDBLookupComboBox::SetListField(const AnsiString& Value) {
  FListField = Value;
  ListChanged();
}

void TDBLookupComboBox::SetListFieldIndex(int Value) {
  FListFieldIndex = Value;
  ListChanged();
}

TDataSet* TDBLookupComboBox::ListDataSet() const {
  const TField* field = Field();
  TDataSet* list = nullptr;
  if (field && field->FieldKind() == fkLookup)
    list = field->LookupDataSet();
  else
    list = FListLink->DataSet();
  return list && list->Active() ? list : nullptr;
}

TField* TDBLookupComboBox::ListKeyField() const {
  TDataSet* list = ListDataSet();
  if (!list) return nullptr;
  const TField* field = Field();
  return list->FindField(field && field->FieldKind() == fkLookup ? field->LookupKeyFields()
                                                                 : FKeyField);
}

TField* TDBLookupComboBox::ListDisplayField() const {
  TDataSet* list = ListDataSet();
  if (!list) return nullptr;
  const TField* field = Field();
  AnsiString name = FieldNameAt(FListField, FListFieldIndex);
  if (name.empty() && field && field->FieldKind() == fkLookup) name = field->LookupResultField();
  return list->FindField(name);
}

QAbstractItemView* TDBLookupComboBox::ListView() const { return FList; }

Variant TDBLookupComboBox::KeyValue() const {
  const TField* field = Field();
  if (!field) return Variant::Null();
  if (field->FieldKind() != fkLookup) return field->Value();
  const TField* key = field->DataSet()->FindField(field->KeyFields());
  return key ? key->Value() : Variant::Null();
}

void TDBLookupComboBox::KeyChanged() {
  const Variant key = KeyValue();
  const bool changed = !FKeyShown || !(key == FShownKey);
  FShownKey = key;
  FKeyShown = true;
  // For a plain data field the list stands on the record of the shown key,
  // where a caller that reads the list's current record expects it.
  const TField* field = Field();
  if (changed && field && field->FieldKind() == fkData && !key.IsEmptyOrNull()) {
    if (const TField* listKey = ListKeyField())
      listKey->DataSet()->Locate(listKey->FieldName(), key, {});
  }
  if (changed) UpdateText();
}

void TDBLookupComboBox::ListChanged() {
  if (FListShown) HideList();
  FModel->Reset(ListDataSet(), ListDisplayField());
  UpdateText();
}

void TDBLookupComboBox::UpdateText() {
  AnsiString text;
  const Variant key = KeyValue();
  const TField* listKey = ListKeyField();
  const TField* display = ListDisplayField();
  if (!key.IsEmptyOrNull() && listKey && display) {
    const Variant v = listKey->DataSet()->Lookup(listKey->FieldName(), key, display->FieldName());
    if (!v.IsEmptyOrNull()) text = v.AsString();
  }
  FText = text;
  // Every change of the value repaints at once, so what is drawn from it
  // follows before anything else runs.
  if (isVisible())
    repaint();
  else
    update();
}

QSize TDBLookupComboBox::sizeHint() const { return {145, 21}; }

void TDBLookupComboBox::paintEvent(QPaintEvent*) {
  Guarded([this] { Paint(); });
}

void TDBLookupComboBox::Paint() {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  option.initFrom(this);
  option.editable = false;
  option.frame = true;
  option.currentText = AnsiToQString(FText);
  if (hasFocus()) option.state |= QStyle::State_HasFocus | QStyle::State_Selected;
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void TDBLookupComboBox::mousePressEvent(QMouseEvent* Event) {
  const QPoint p = Event->position().toPoint();
  Guarded([&] { MouseDown(MouseButtonOf(Event), ShiftStateOf(Event), p.x(), p.y()); });
  Event->accept();
}

void TDBLookupComboBox::MouseDown(TMouseButton Button, TShiftState, int, int) {
  if (Button != mbLeft) return;
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  if (!hasFocus()) return;  // a handler of the focus change moved it elsewhere
  if (FListShown)
    CloseUp(false);
  else
    DropDown();
}

void TDBLookupComboBox::keyPressEvent(QKeyEvent* Event) {
  ProcessKeyPress(Event, [this](QKeyEvent* e) {
    const bool toggle =
        e->key() == Qt::Key_F4 || (e->key() == Qt::Key_Down && (e->modifiers() & Qt::AltModifier));
    if (toggle) {
      Guarded([this] {
        if (FListShown)
          CloseUp(false);
        else
          DropDown();
      });
      return;
    }
    // Up and Down on the closed list choose the record before or after.
    TDataSet* list = ListDataSet();
    if ((e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) && list && !list->IsEmpty()) {
      Guarded([&] {
        int record = FText.empty() ? -1 : list->RecNo() - 1;
        record += e->key() == Qt::Key_Down ? 1 : -1;
        if (record < 0 || record >= list->RecordCount()) return;
        SelectRecord(record);
      });
      return;
    }
    e->ignore();
  });
}

void TDBLookupComboBox::keyReleaseEvent(QKeyEvent* Event) {
  ProcessKeyRelease(Event, [](QKeyEvent* e) { e->ignore(); });
}

void TDBLookupComboBox::DropDown() {
  if (FListShown) return;
  if (OnDropDown) OnDropDown(this);
  TDataSet* list = ListDataSet();
  if (!list || !ListDisplayField()) return;
  // The record of the shown key is highlighted and in view.
  const QModelIndex current = FText.empty() ? QModelIndex() : FModel->index(list->RecNo() - 1, 0);
  const int rows = std::max(1, std::min(FDropDownRows, list->RecordCount()));
  const int rowHeight = std::max(1, FList->sizeHintForRow(0));
  const int frame = 2 * FList->frameWidth();
  QRect area(mapToGlobal(QPoint(0, height())), QSize(width(), rows * rowHeight + frame));
  // Above the control when there is no room below it.
  if (const QScreen* s = screen()) {
    const QRect avail = s->availableGeometry();
    if (area.bottom() > avail.bottom()) area.moveBottom(mapToGlobal(QPoint(0, 0)).y() - 1);
  }
  FList->setGeometry(area);
  FList->setCurrentIndex(current);
  if (current.isValid()) FList->scrollTo(current, QAbstractItemView::PositionAtTop);
  FListShown = true;
  FList->show();
  FList->setFocus(Qt::PopupFocusReason);
}

void TDBLookupComboBox::CloseUp(bool Accept) {
  if (!FListShown) return;
  const int record = FList->currentIndex().row();
  HideList();
  if (Accept && record >= 0) SelectRecord(record);
  if (OnCloseUp) OnCloseUp(this);
}

void TDBLookupComboBox::HideList() {
  FListShown = false;
  FList->hide();
}

void TDBLookupComboBox::SelectRecord(int Record) {
  TField* field = Field();
  TDataSet* list = ListDataSet();
  if (!field || !list) return;
  list->SetRecNo(Record + 1);
  const TField* listKey = ListKeyField();
  if (!listKey) return;
  const Variant key = listKey->Value();
  if (!FFieldLink->Edit()) return;
  if (field->FieldKind() == fkLookup)
    field->DataSet()->FieldByName(field->KeyFields())->SetValue(key);
  else
    field->SetValue(key);
}

void TDBLookupComboBox::focusOutEvent(QFocusEvent* Event) {
  QWidget::focusOutEvent(Event);
  // The focus going into the open list stays with the control.
  if (Event->reason() == Qt::PopupFocusReason ||
      (FListShown && QApplication::focusWidget() == FList))
    return;
  Guarded([this] { CloseUp(false); });
}

void TDBLookupComboBox::focusInEvent(QFocusEvent* Event) {
  QWidget::focusInEvent(Event);
  // With the list open the keyboard drives the list: once this focus change
  // has finished, so that it reaches everyone as a move to this control.
  if (!FListShown) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (FListShown && hasFocus()) FList->setFocus(Qt::PopupFocusReason);
      },
      Qt::QueuedConnection);
}

void TDBLookupComboBox::FocusChanged(QWidget* Old, QWidget* Now) {
  // With the list open the focus sits in the list: leaving it for another
  // control is the control's loss of the focus.
  if (!FListShown || Old != FList || Now == this || Now == FList || !Now) return;
  Guarded([this] { CloseUp(false); });
}

bool TDBLookupComboBox::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == FList && Event->type() == QEvent::Hide && FListShown) {
    // Dismissed: Escape, or a click outside the list.
    FListShown = false;
    Guarded([this] { CloseUp(false); });
  } else if (Watched == FList && Event->type() == QEvent::MouseButtonPress) {
    // A press on the control itself only closes the list; it must not open it again.
    const auto* press = static_cast<QMouseEvent*>(Event);
    const QPoint local = mapFromGlobal(press->globalPosition().toPoint());
    FList->setAttribute(Qt::WA_NoMouseReplay, rect().contains(local));
  }
  return QWidget::eventFilter(Watched, Event);
}
