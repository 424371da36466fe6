#include "framework/forms/ComboBox.h"

#include <QAbstractItemView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringList>
#include <QWheelEvent>
#include <string>

#include "framework/forms/HandlerGuard.h"
#include "framework/forms/LineEditText.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Exceptions.h"

TComboBox::TComboBox(TOwnerArg AOwner) : QComboBox(AOwner.Parent), TWinControl(AOwner.Owner) {
  setEditable(true);
  // The controls complete and re-case the text themselves.
  setCompleter(nullptr);
  // Enter must not add the typed text to the list.
  setInsertPolicy(QComboBox::NoInsert);
  SetTabStop(true);
  // The toolkit makes the entry equal to the text current when editing ends,
  // announcing it as a choice: that would run Change on leaving the field.
  disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
  SetMaxLength(0);
  connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
    KeepLineEditAnsi(lineEdit());
    Guarded([this] { Change(); });
  });
  // A choice from the list (mouse, keys in the list, arrow keys on the closed
  // box): the chosen text is already in the field.
  connect(this, &QComboBox::activated, this, [this] {
    KeepLineEditAnsi(lineEdit());
    Guarded([this] { Change(); });
  });
  // Keys sent to the edit field itself, rather than forwarded to it by the box.
  lineEdit()->installEventFilter(this);
  // The list closes by a choice, by Escape or by a click elsewhere; only its
  // window's hiding sees them all.
  view()->window()->installEventFilter(this);
}

AnsiString TComboBox::Text() const { return LineEditText(lineEdit()); }

void TComboBox::SetText(const AnsiString& Value) { SetLineEditText(lineEdit(), Value); }

int TComboBox::SelStart() const { return LineEditSelStart(lineEdit()); }

void TComboBox::SetSelStart(int Value) { SetLineEditSelStart(lineEdit(), Value); }

int TComboBox::SelLength() const { return LineEditSelLength(lineEdit()); }

void TComboBox::SetSelLength(int Value) { SetLineEditSelLength(lineEdit(), Value); }

bool TComboBox::ReadOnly() const { return lineEdit()->isReadOnly(); }

void TComboBox::SetReadOnly(bool Value) { lineEdit()->setReadOnly(Value); }

int TComboBox::MaxLength() const { return LineEditMaxLength(lineEdit()); }

void TComboBox::SetMaxLength(int Value) { SetLineEditMaxLength(lineEdit(), Value); }

bool TComboBox::DroppedDown() const { return view()->window()->isVisible(); }

void TComboBox::SetDroppedDown(bool Value) {
  if (Value == DroppedDown()) return;
  if (Value)
    showPopup();
  else
    hidePopup();
}

void TComboBox::showPopup() {
  if (DroppedDown() || ReadOnly()) return;
  // A handler may fill the list before it is shown.
  Guarded([this] { DropDown(); });
  QComboBox::showPopup();
  FListShown = DroppedDown();
}

void TComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

void TComboBox::keyPressEvent(QKeyEvent* Event) {
  ProcessKeyPress(Event, [this](QKeyEvent* e) {
    // The keys that step through the entries would change a read-only box.
    const int key = e->key();
    if (ReadOnly() && (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                       key == Qt::Key_PageDown)) {
      e->ignore();
      return;
    }
    QComboBox::keyPressEvent(e);
  });
}

void TComboBox::keyReleaseEvent(QKeyEvent* Event) {
  ProcessKeyRelease(Event, [this](QKeyEvent* e) { QComboBox::keyReleaseEvent(e); });
}

void TComboBox::wheelEvent(QWheelEvent* Event) {
  // Scrolling past a field must not pick an entry in it: the change would
  // escape the checks the control makes when the focus leaves it.
  if (!hasFocus() || ReadOnly()) {
    Event->ignore();
    return;
  }
  QComboBox::wheelEvent(Event);
}

void TComboBox::inputMethodEvent(QInputMethodEvent* Event) {
  ProcessInputMethod(Event, [this](QInputMethodEvent* e) { QComboBox::inputMethodEvent(e); });
}

bool TComboBox::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched == lineEdit()) {
    if (Event->type() == QEvent::InputMethod) {
      ProcessInputMethod(static_cast<QInputMethodEvent*>(Event), [this](QInputMethodEvent* e) {
        static_cast<QObject*>(lineEdit())->event(e);
      });
      return true;
    }
    // The box hands the keys it receives straight to the field, past this
    // filter; keys that arrive here were sent to the field directly. Either
    // way they go through the box's handling once.
    if (Event->type() == QEvent::KeyPress) {
      keyPressEvent(static_cast<QKeyEvent*>(Event));
      return true;
    }
    if (Event->type() == QEvent::KeyRelease) {
      keyReleaseEvent(static_cast<QKeyEvent*>(Event));
      return true;
    }
  } else if (Event->type() == QEvent::Hide && FListShown && Watched == view()->window()) {
    FListShown = false;
    Guarded([this] { CloseUp(); });
  }
  return QComboBox::eventFilter(Watched, Event);
}

template <class F>
void TComboBox::ChangingItems(F Edit) {
  QLineEdit* e = lineEdit();
  const QString text = e->text();
  const int start = SelStart();
  const int length = SelLength();
  const bool hadCurrent = currentIndex() >= 0;
  Edit();
  if (!hadCurrent && currentIndex() >= 0) setCurrentIndex(-1);
  if (e->text() != text) {
    e->setText(text);
    SetSelStart(start);
    SetSelLength(length);
  }
}

int TComboBoxItems::Count() const { return FCombo->count(); }

AnsiString TComboBoxItems::Strings(int Index) const {
  if (Index < 0 || Index >= Count())
    throw Exception("List index out of bounds (" + std::to_string(Index) + ")");
  return QStringToAnsi(FCombo->itemText(Index));
}

int TComboBoxItems::Add(const AnsiString& S) {
  FCombo->ChangingItems([&] { FCombo->addItem(AnsiToQString(S)); });
  return FCombo->count() - 1;
}

void TComboBoxItems::AddStrings(const std::vector<AnsiString>& List) {
  QStringList q;
  q.reserve(qsizetype(List.size()));
  for (const auto& s : List) q.append(AnsiToQString(s));
  FCombo->ChangingItems([&] { FCombo->addItems(q); });
}

void TComboBoxItems::Clear() {
  FCombo->ChangingItems([&] { FCombo->clear(); });
}

bool TComboBox::BindEvent(const AnsiString& Event, const TPublishedMethod& Method) {
  if (Event == "OnChange") {
    Method.BindTo(OnChange);
    return true;
  }
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
