#include "framework/forms/Form.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <algorithm>

#include "framework/forms/Application.h"
#include "framework/forms/FocusTracker.h"
#include "framework/forms/HandlerGuard.h"
#include "framework/forms/Label.h"
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

namespace {

// Children of Parent that take part in the keyboard order, by TabOrder.
std::vector<QWidget*> TabChildren(QWidget* Parent) {
  std::vector<QWidget*> children;
  for (QObject* o : Parent->children()) {
    auto* w = qobject_cast<QWidget*>(o);
    if (w && !w->isWindow() && TWinControl::FromWidget(w)) children.push_back(w);
  }
  std::stable_sort(children.begin(), children.end(), [](QWidget* a, QWidget* b) {
    return a->property("TabOrder").toInt() < b->property("TabOrder").toInt();
  });
  return children;
}

void CollectTabChain(QWidget* Parent, std::vector<QWidget*>& Chain) {
  for (QWidget* w : TabChildren(Parent)) {
    if (w->focusPolicy() != Qt::NoFocus) Chain.push_back(w);
    CollectTabChain(w, Chain);
  }
}

[[noreturn]] void MethodNotFound(const QString& Name) {
  throw EComponentError("Method '" + QStringToAnsi(Name) + "' not found");
}

}  // namespace

void TForm::Loaded() {
  SetName(QStringToAnsi(objectName()));
  std::vector<QWidget*> widgets{this};
  for (QWidget* w : findChildren<QWidget*>()) {
    auto* c = dynamic_cast<TComponent*>(w);
    if (!c) continue;
    c->ChangeOwner(this);
    c->SetName(QStringToAnsi(w->objectName()));
    if (auto* label = dynamic_cast<TLabel*>(w)) label->AdjustBounds();
    widgets.push_back(w);
  }
  const QVariant left = property("Left"), top = property("Top");
  if (left.isValid() && top.isValid()) move(left.toInt(), top.toInt());

  const std::vector<TPublishedMethod> methods = PublishedMethods();
  const auto find = [&](const QVariant& name) -> const TPublishedMethod& {
    for (const auto& m : methods)
      if (m.Name == QStringToAnsi(name.toString())) return m;
    MethodNotFound(name.toString());
  };
  for (QWidget* w : widgets) {
    auto* control = TWinControl::FromWidget(w);
    if (!control) continue;
    if (w != this && w->property("TabStop").isValid())
      control->SetTabStop(w->property("TabStop").toBool());
    for (const QByteArray& name : w->dynamicPropertyNames()) {
      if (!name.startsWith("On")) continue;
      const QVariant value = w->property(name.constData());
      if (!control->BindEvent(name.toStdString(), find(value)))
        throw EComponentError("Event " + name.toStdString() + " of " + control->Name() +
                              " is unknown");
    }
  }

  std::vector<QWidget*> chain;
  CollectTabChain(this, chain);
  for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

bool TForm::BindEvent(const AnsiString& Event, const TPublishedMethod& Method) {
  if (Event == "OnShow") {
    Method.BindTo(OnShow);
    return true;
  }
  return TWinControl::BindEvent(Event, Method);
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
