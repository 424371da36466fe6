#include "designer/PaletteWidget.h"

#include <QWidget>
#include <utility>

#include "framework/rtl/CodePage.h"

TPaletteWidget::TPaletteWidget(TComponentClass AClass, QString APage)
    : FClass(std::move(AClass)), FPage(std::move(APage)) {}

QString TPaletteWidget::name() const { return AnsiToQString(FClass.ClassName); }

QString TPaletteWidget::toolTip() const {
  return FClass.IncludeFile.empty()
             ? name()
             : QStringLiteral("%1 (%2)").arg(name(), AnsiToQString(FClass.IncludeFile));
}

QString TPaletteWidget::includeFile() const { return AnsiToQString(FClass.IncludeFile); }

QWidget* TPaletteWidget::createWidget(QWidget* Parent) {
  // Designer's form is no component, so the control has no owner there; a
  // form built from the saved layout gives it one (TForm::Loaded).
  TComponent* component = FClass.Create(nullptr);
  auto* widget = dynamic_cast<QWidget*>(component);
  if (!widget) {
    delete component;  // a component without a window cannot sit on a form
    return nullptr;
  }
  widget->setParent(Parent);
  return widget;
}

QString TPaletteWidget::domXml() const {
  return QStringLiteral("<ui language=\"c++\"><widget class=\"%1\" name=\"%2\"/></ui>")
      .arg(name(), DefaultName(name()));
}

QString TPaletteWidget::DefaultName(const QString& ClassName) {
  const bool prefixed = ClassName.size() > 1 && ClassName[0] == u'T' && ClassName[1].isUpper();
  return prefixed ? ClassName.mid(1) : ClassName;
}
