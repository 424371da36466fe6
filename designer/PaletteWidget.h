#pragma once
// One class of a palette page as Qt Designer's widget box shows it: its name,
// group and header come from the registration, and a new one is the class's
// own default instance, so Designer's property editor lists its published
// properties with their defaults.
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include "framework/forms/Palette.h"

class TPaletteWidget : public QDesignerCustomWidgetInterface {
 public:
  TPaletteWidget(TComponentClass AClass, QString APage);

  QString name() const override;
  QString group() const override { return FPage; }
  QString toolTip() const override;
  QString whatsThis() const override { return toolTip(); }
  QString includeFile() const override;
  QIcon icon() const override { return {}; }
  bool isContainer() const override { return false; }
  QWidget* createWidget(QWidget* Parent) override;
  bool isInitialized() const override { return FInitialized; }
  void initialize(QDesignerFormEditorInterface*) override { FInitialized = true; }
  QString domXml() const override;

  // The name a new control gets on a form: "MyEdit" for TMyEdit; Designer
  // makes the next ones MyEdit_2, MyEdit_3...
  static QString DefaultName(const QString& ClassName);

 private:
  TComponentClass FClass;
  QString FPage;
  bool FInitialized = false;
};
