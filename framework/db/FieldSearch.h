#pragma once
// TFieldSearch: how Locate and Lookup find the first record, in the data
// set's order, whose field matches a value. Small data sets are scanned;
// larger ones get a TLocateIndex of the field on its first search, kept
// until the data changes.
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "framework/db/Field.h"
#include "framework/rtl/Variant.h"

class TLocateIndex;

enum TLocateOption { loCaseInsensitive, loPartialKey };

// A set of TLocateOption: TLocateOptions{loCaseInsensitive, loPartialKey}.
class TLocateOptions {
 public:
  constexpr TLocateOptions() = default;
  constexpr TLocateOptions(std::initializer_list<TLocateOption> Options) {
    for (TLocateOption o : Options) Include(o);
  }
  constexpr bool Contains(TLocateOption O) const { return (FBits & Bit(O)) != 0; }
  constexpr void Include(TLocateOption O) { FBits |= Bit(O); }
  constexpr void Exclude(TLocateOption O) { FBits &= ~Bit(O); }
  constexpr bool operator==(const TLocateOptions&) const = default;

 private:
  static constexpr unsigned Bit(TLocateOption O) { return 1u << static_cast<unsigned>(O); }
  unsigned FBits = 0;
};

class TFieldSearch {
 public:
  TFieldSearch();
  ~TFieldSearch();

  // The first of Cells (the column of a data field) that matches, or -1.
  // Text is compared as text (loCaseInsensitive folds case, loPartialKey
  // matches a beginning); other types by value, or by their text with
  // loPartialKey. A null value finds a null cell. From IndexThreshold cells
  // on, the search goes through an index of the field.
  int Find(const TField& Field, const std::vector<Variant>& Cells, const Variant& Value,
           TLocateOptions Options, int IndexThreshold) const;
  // The same for a calculated or lookup field, whose values exist only
  // record by record: ValueOf(r) reads record r (from 0).
  int FindComputed(const TField& Field, int RecordCount, const std::function<Variant(int)>& ValueOf,
                   const Variant& Value, TLocateOptions Options) const;
  // Builds now the index a Find with these options would build.
  void Prepare(const TField& Field, const std::vector<Variant>& Cells,
               TLocateOptions Options) const;
  // The data changed: the indexes are dropped, the next search rebuilds them.
  void Clear();

 private:
  // Null when the field is searched by scanning.
  const TLocateIndex* IndexFor(const TField& Field, const std::vector<Variant>& Cells,
                               TLocateOptions Options) const;

  mutable std::map<std::pair<const TField*, int>, std::unique_ptr<TLocateIndex>> FIndexes;
};
