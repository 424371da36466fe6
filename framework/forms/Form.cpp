#include "framework/forms/Form.h"

#include <QCloseEvent>
#include <QShowEvent>

#include "framework/forms/Application.h"
#include "framework/forms/FocusTracker.h"
#include "framework/forms/HandlerGuard.h"
#include "framework/rtl/CodePage.h"

TForm::TForm(TOwnerArg AOwner) : QWidget(nullptr), TWinControl(AOwner.Owner) {}

AnsiString TForm::Caption() const { return QStringToAnsi(windowTitle()); }

void TForm::SetCaption(const AnsiString& Value) { setWindowTitle(AnsiToQString(Value)); }

TWinControl* TForm::ActiveControl() const {
  for (QWidget* w = TFocusTracker::FocusedIn(const_cast<TForm*>(this)); w; w = w->parentWidget())
    if (auto* c = TWinControl::FromWidget(w)) return c;
  return nullptr;
}

void TForm::Close() { close(); }

void TForm::Loaded() {
  SetName(QStringToAnsi(objectName()));
  for (QWidget* w : findChildren<QWidget*>()) {
    auto* c = dynamic_cast<TComponent*>(w);
    if (!c) continue;
    c->ChangeOwner(this);
    c->SetName(QStringToAnsi(w->objectName()));
  }
  const QVariant left = property("Left"), top = property("Top");
  if (left.isValid() && top.isValid()) move(left.toInt(), top.toInt());
}

void TForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TForm::showEvent(QShowEvent* Event) {
  QWidget::showEvent(Event);
  if (!Event->spontaneous()) Guarded([this] { DoShow(); });
}

void TForm::closeEvent(QCloseEvent* Event) {
  QWidget::closeEvent(Event);
  if (Event->isAccepted() && Application && Application->MainForm() == this)
    Application->Terminate();
}

TForm* GetParentForm(QWidget* Control) {
  return Control ? dynamic_cast<TForm*>(Control->window()) : nullptr;
}
