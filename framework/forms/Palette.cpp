#include "framework/forms/Palette.h"

#include <map>

namespace {

std::map<AnsiString, std::vector<TComponentClass>>& Pages() {
  static std::map<AnsiString, std::vector<TComponentClass>> pages;
  return pages;
}

}  // namespace

void RegisterComponents(const AnsiString& Page, const std::vector<TComponentClass>& Classes) {
  auto& entries = Pages()[Page];
  for (const auto& c : Classes) {
    bool replaced = false;
    for (auto& e : entries)
      if (e.ClassName == c.ClassName) e = c, replaced = true;
    if (!replaced) entries.push_back(c);
  }
}

std::vector<TComponentClass> RegisteredComponents(const AnsiString& Page) {
  const auto it = Pages().find(Page);
  return it == Pages().end() ? std::vector<TComponentClass>() : it->second;
}

std::vector<AnsiString> PalettePages() {
  std::vector<AnsiString> pages;
  for (const auto& [name, classes] : Pages()) pages.push_back(name);
  return pages;
}
