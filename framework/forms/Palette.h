#pragma once
// The component palette: classes registered under a page name, so a gallery
// or a designer can list them and create them.
#include <functional>
#include <vector>

#include "framework/rtl/Component.h"

struct TComponentClass {
  AnsiString ClassName;
  std::function<TComponent*(TComponent* Owner)> Create;
  // The header that declares the class, from the source root, for the code
  // a form designer generates ("controls/MyEdit.h"); empty when unknown.
  AnsiString IncludeFile = {};
};

template <class T>
TComponentClass ComponentClass(const char* ClassName, const char* IncludeFile = "") {
  return {ClassName, [](TComponent* Owner) -> TComponent* { return new T(Owner); }, IncludeFile};
}

// Registering a class again on the same page replaces the entry.
void RegisterComponents(const AnsiString& Page, const std::vector<TComponentClass>& Classes);
std::vector<TComponentClass> RegisteredComponents(const AnsiString& Page);
std::vector<AnsiString> PalettePages();
