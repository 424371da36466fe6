#pragma once
// The Qt Designer plugin of the component palette: every class registered on
// the page "Custom" becomes a widget of Designer's widget box, in a group of
// that name. The registration is the one list, read when Designer loads the
// plugin.
#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <memory>
#include <vector>

class TPaletteWidget;

class TPalettePlugin : public QObject, public QDesignerCustomWidgetCollectionInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
 public:
  explicit TPalettePlugin(QObject* Parent = nullptr);
  ~TPalettePlugin() override;

  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

 private:
  std::vector<std::unique_ptr<TPaletteWidget>> FWidgets;
};
