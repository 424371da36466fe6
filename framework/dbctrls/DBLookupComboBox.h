#pragma once
// TDBLookupComboBox: shows, for the key held in a field of a data set
// (DataSource, DataField), the display text of the matching record of a
// second data set, the list (ListSource, KeyField, ListField,
// ListFieldIndex), and lets the user pick another record from a drop-down
// list, which writes that record's key into the field. A lookup field brings
// its own list: its LookupDataSet, LookupKeyFields and LookupResultField.
//
// The drop-down list is a view over the list data set: it reads only the
// rows it shows, so a list of a million records opens as fast as a short one.
#include <QPointer>
#include <QWidget>
#include <memory>

#include "framework/db/DataSource.h"
#include "framework/forms/OwnerArg.h"
#include "framework/forms/WinControl.h"

class QAbstractItemView;
class QListView;
class TLookupListModel;

class TDBLookupComboBox : public QWidget, public TWinControl {
  Q_OBJECT
 public:
  explicit TDBLookupComboBox(TOwnerArg AOwner);
  ~TDBLookupComboBox() override;

  QWidget* Widget() override { return this; }
  bool BindEvent(const AnsiString& Event, const TPublishedMethod& Method) override;

  // The field whose key the control shows and writes.
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* Value);
  const AnsiString& DataField() const { return FDataField; }
  void SetDataField(const AnsiString& Value);
  // The field named by DataField while its data set is open, else null.
  TField* Field() const;

  // The list, for a plain data field. ListField holds one or more field
  // names separated by ";"; ListFieldIndex picks the one shown and searched.
  TDataSource* ListSource() const;
  void SetListSource(TDataSource* Value);
  const AnsiString& KeyField() const { return FKeyField; }
  void SetKeyField(const AnsiString& Value);
  const AnsiString& ListField() const { return FListField; }
  void SetListField(const AnsiString& Value);
  int ListFieldIndex() const { return FListFieldIndex; }
  void SetListFieldIndex(int Value);
  int DropDownRows() const { return FDropDownRows; }
  void SetDropDownRows(int Value) { FDropDownRows = Value > 0 ? Value : 1; }

  // The display text of the field's key: empty when the field holds no value
  // or no list record has that key.
  const AnsiString& Text() const { return FText; }
  // The key the field holds (null when none).
  Variant KeyValue() const;
  QRect ClientRect() const { return rect(); }
  bool ListVisible() const { return FListShown; }
  // The drop-down list window.
  QAbstractItemView* ListView() const;

  // Opens the list on the record of the current key.
  virtual void DropDown();
  // Closes the list when it is open: with Accept, the record chosen in it
  // becomes the field's key. Also run whenever the control loses the focus
  // and when the list is dismissed.
  virtual void CloseUp(bool Accept);

  TNotifyEvent OnDropDown;
  TNotifyEvent OnCloseUp;

  QSize sizeHint() const override;

 protected:
  // The control takes the focus in its own MouseDown, before opening the list.
  Qt::FocusPolicy FocusPolicyFor(bool TabStop) const override {
    return TabStop ? Qt::TabFocus : Qt::NoFocus;
  }
  // Draws the control: the frame, the text and the drop-down button.
  virtual void Paint();
  // A left press focuses the control, then opens the list or closes it.
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);

  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;
  bool eventFilter(QObject* Watched, QEvent* Event) override;

 private:
  class TFieldLink;
  class TListLink;
  friend class TFieldLink;
  friend class TListLink;

  // The list data set and its key and display fields, whichever kind of
  // field the control shows; null when any of them is missing.
  TDataSet* ListDataSet() const;
  TField* ListKeyField() const;
  TField* ListDisplayField() const;

  // The field's key may have changed: the list is put on its record (plain
  // data fields), the text recomputed and the control repainted.
  void KeyChanged();
  // The list's rows or the binding changed.
  void ListChanged();
  void UpdateText();
  // Makes Record (from 0) of the list the field's key.
  void SelectRecord(int Record);
  void HideList();
  void FocusChanged(QWidget* Old, QWidget* Now);

  std::unique_ptr<TFieldLink> FFieldLink;
  std::unique_ptr<TListLink> FListLink;
  AnsiString FDataField;
  AnsiString FKeyField;
  AnsiString FListField;
  int FListFieldIndex = 0;
  int FDropDownRows = 7;
  AnsiString FText;
  Variant FShownKey;
  bool FKeyShown = false;

  QListView* FList = nullptr;  // the drop-down window
  TLookupListModel* FModel = nullptr;
  bool FListShown = false;
};

// The name at Index of a ";"-separated list of field names; empty past the
// last one or for a negative index. Spaces stay part of a name.
AnsiString FieldNameAt(const AnsiString& Names, int Index);
