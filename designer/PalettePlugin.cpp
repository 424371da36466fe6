#include "designer/PalettePlugin.h"

#include "combos/MyComboBox.h"
#include "combos/MyDBLookupComboBox.h"
#include "controls/MyEdit.h"
#include "designer/PaletteWidget.h"
#include "framework/forms/Palette.h"
#include "grid/MyDBGrid.h"

namespace {
const char* const Page = "Custom";
}

TPalettePlugin::TPalettePlugin(QObject* Parent) : QObject(Parent) {
  Myedit::Register();
  Mycombobox::Register();
  Mydblookupcombobox::Register();
  Mydbgrid::Register();
  for (const auto& c : RegisteredComponents(Page))
    FWidgets.push_back(std::make_unique<TPaletteWidget>(c, QString::fromLatin1(Page)));
}

TPalettePlugin::~TPalettePlugin() = default;

QList<QDesignerCustomWidgetInterface*> TPalettePlugin::customWidgets() const {
  QList<QDesignerCustomWidgetInterface*> widgets;
  for (const auto& w : FWidgets) widgets.append(w.get());
  return widgets;
}
