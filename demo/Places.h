#pragma once
// Italian places for the gallery's sample database: the provincial capitals
// with their province codes, and names made from common place-name parts,
// so the lookup list holds a few thousand entries without shipping a gazetteer.
#include <string>
#include <vector>

#include "framework/rtl/AnsiString.h"

struct TPlace {
  AnsiString Name;  // Windows-1252
  AnsiString Province;
};

// The capitals first, then Count made-up names in a fixed order (the same
// every run), with a province each.
std::vector<TPlace> SamplePlaces(int Count);

// The place names of the given province codes, for the province list.
std::vector<AnsiString> ProvinceCodes();
