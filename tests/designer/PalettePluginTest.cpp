// The Designer plugin loaded as Designer loads it, and seen only through
// Designer's interfaces: the group, the names, a new widget of each class
// with its defaults, and its published properties written and read back.
#include <gtest/gtest.h>

#include <QPluginLoader>
#include <QVariant>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <vector>

namespace {

// The plugin of this build, or the one ASTREVO_DESIGNER_PLUGIN names (an
// installed one, as scripts/check-package does).
QList<QDesignerCustomWidgetInterface*> PaletteWidgets() {
  static QPluginLoader loader(
      qEnvironmentVariable("ASTREVO_DESIGNER_PLUGIN", QStringLiteral(ASTREVO_DESIGNER_PLUGIN)));
  auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
  EXPECT_NE(collection, nullptr) << loader.errorString().toStdString();
  return collection ? collection->customWidgets() : QList<QDesignerCustomWidgetInterface*>();
}

struct TPublished {
  const char* Name;
  QVariant Default;
  QVariant Other;
};

struct TPaletteEntry {
  const char* ClassName;
  const char* IncludeFile;
  std::vector<TPublished> Properties;
};

void PrintTo(const TPaletteEntry& E, std::ostream* Out) { *Out << E.ClassName; }

const TPaletteEntry Entries[] = {
    {"TMyEdit", "controls/MyEdit.h", {{"CharFilter", 0, 5}, {"DateAge", 0, 2}}},
    {"TMyComboBox",
     "combos/MyComboBox.h",
     {{"CharFilter", 0, 6},
      {"DateAge", 0, 3},
      {"Required", false, true},
      {"ExactListValue", true, false},
      {"ErrorMessage", QString(), QStringLiteral("Valore non ammesso")}}},
    {"TMyDBLookupComboBox",
     "combos/MyDBLookupComboBox.h",
     {{"CharFilter", 0, 4}, {"ExactListValue", true, false}}},
    {"TMyDBGrid",
     "grid/MyDBGrid.h",
     {{"CanExport", false, true},
      {"CanCustomize", false, true},
      {"Title", QString(), QStringLiteral("Città")}}},
};

TEST(PalettePlugin, ListsEveryClassOfThePageCustomUnderItsName) {
  QStringList names;
  for (auto* w : PaletteWidgets()) {
    EXPECT_EQ(w->group(), "Custom") << w->name().toStdString();
    EXPECT_FALSE(w->isContainer()) << w->name().toStdString();
    names << w->name();
  }
  EXPECT_EQ(names, QStringList({"TMyEdit", "TMyComboBox", "TMyDBLookupComboBox", "TMyDBGrid"}));
}

class PaletteEntryTest : public testing::TestWithParam<TPaletteEntry> {
 protected:
  QDesignerCustomWidgetInterface* Entry() {
    for (auto* w : PaletteWidgets())
      if (w->name() == GetParam().ClassName) return w;
    return nullptr;
  }
};

TEST_P(PaletteEntryTest, PlacedWithItsDefaultsAndItsPublishedPropertiesReadBack) {
  const TPaletteEntry& e = GetParam();
  QDesignerCustomWidgetInterface* entry = Entry();
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->includeFile(), e.IncludeFile);

  QWidget form;
  QWidget* control = entry->createWidget(&form);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->parentWidget(), &form);
  EXPECT_STREQ(control->metaObject()->className(), e.ClassName);

  // As Designer's property editor reads and writes them; all defaults
  // first, since a new filter resets DateAge.
  for (const auto& p : e.Properties) EXPECT_EQ(control->property(p.Name), p.Default) << p.Name;
  for (const auto& p : e.Properties) {
    EXPECT_TRUE(control->setProperty(p.Name, p.Other)) << p.Name;
    EXPECT_EQ(control->property(p.Name), p.Other) << p.Name;
  }
  // Designer paints a control as soon as it is placed, before any binding.
  EXPECT_FALSE(control->grab().isNull());
}

INSTANTIATE_TEST_SUITE_P(Custom, PaletteEntryTest, testing::ValuesIn(Entries),
                         [](const auto& Info) { return std::string(Info.param.ClassName); });

}  // namespace
