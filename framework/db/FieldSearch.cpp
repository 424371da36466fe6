#include "framework/db/FieldSearch.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "framework/db/LocateIndex.h"
#include "framework/rtl/Exceptions.h"

namespace {

// An integer as eight bytes that sort like the numbers.
AnsiString IntegerKey(int64_t V) {
  const uint64_t u = static_cast<uint64_t>(V) ^ (uint64_t{1} << 63);
  AnsiString key(8, '\0');
  for (int i = 0; i < 8; ++i) key[static_cast<size_t>(i)] = static_cast<char>(u >> (56 - 8 * i));
  return key;
}

std::optional<int64_t> WholeNumber(const Variant& V) {
  switch (V.VarType()) {
    case varInteger:
    case varInt64:
      return V.AsInt64();
    case varDouble: {
      const double d = V.AsDouble();
      if (d == std::trunc(d) && std::fabs(d) < 9.2e18) return static_cast<int64_t>(d);
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

bool FoldedEqual(const AnsiString& Text, const AnsiString& FoldedTarget, bool Prefix) {
  if (Prefix ? Text.size() < FoldedTarget.size() : Text.size() != FoldedTarget.size()) return false;
  for (size_t i = 0; i < FoldedTarget.size(); ++i)
    if (FoldCaseAnsi(Text[i]) != FoldedTarget[i]) return false;
  return true;
}

bool ComparesText(const TField& Field, TLocateOptions Options) {
  return Field.DataType() == ftString || Field.DataType() == ftBlob ||
         Options.Contains(loPartialKey);
}

// What a search looks for, converted once for the field.
struct TSearch {
  TSearch(const TField& F, const Variant& Value, TLocateOptions Options) : Field(F) {
    Null = Value.IsEmptyOrNull();
    Prefix = Options.Contains(loPartialKey);
    Fold = Options.Contains(loCaseInsensitive);
    Text = ComparesText(F, Options);
    if (Null) return;
    if (Text) {
      TargetText = Value.AsString();
      if (Fold) TargetText = FoldCaseAnsi(TargetText);
      return;
    }
    try {
      Target = F.Convert(Value);
    } catch (const EConvertError&) {
      Possible = false;  // no record can hold a value its type cannot
    }
  }

  bool Matches(const Variant& Cell) const {
    if (Null) return Cell.IsEmptyOrNull();
    if (Cell.IsEmptyOrNull()) return false;
    if (!Text) return Cell == Target;
    const AnsiString text = Field.TextOf(Cell);
    if (Fold) return FoldedEqual(text, TargetText, Prefix);
    if (Prefix)
      return text.size() >= TargetText.size() &&
             text.compare(0, TargetText.size(), TargetText) == 0;
    return text == TargetText;
  }

  const TField& Field;
  bool Null = false;      // looking for a null value
  bool Text = false;      // comparing texts rather than values
  bool Fold = false;      // ignoring case
  bool Prefix = false;    // a beginning is enough
  bool Possible = true;   // false when the value does not convert
  Variant Target;         // the value, converted to the field's type
  AnsiString TargetText;  // or its text, folded when ignoring case
};

enum TIndexKind { ikText, ikFoldedText, ikInteger };

std::unique_ptr<TLocateIndex> BuildIndex(const TField& Field, const std::vector<Variant>& Cells,
                                         TIndexKind Kind) {
  auto index = std::make_unique<TLocateIndex>();
  AnsiString key;
  for (size_t r = 0; r < Cells.size(); ++r) {
    const Variant& cell = Cells[r];
    if (cell.IsEmptyOrNull()) continue;
    if (Kind == ikInteger) {
      const auto whole = WholeNumber(cell);
      if (!whole) return nullptr;  // mixed contents: searched by scanning
      key = IntegerKey(*whole);
    } else {
      key = Field.TextOf(cell);
      if (Kind == ikFoldedText)
        for (char& c : key) c = FoldCaseAnsi(c);
    }
    index->Add(static_cast<uint32_t>(r), key);
  }
  index->Build();
  return index;
}

}  // namespace

TFieldSearch::TFieldSearch() = default;

TFieldSearch::~TFieldSearch() = default;

void TFieldSearch::Clear() { FIndexes.clear(); }

const TLocateIndex* TFieldSearch::IndexFor(const TField& Field, const std::vector<Variant>& Cells,
                                           TLocateOptions Options) const {
  TIndexKind kind;
  if (ComparesText(Field, Options))
    kind = Options.Contains(loCaseInsensitive) ? ikFoldedText : ikText;
  else if (Field.DataType() == ftInteger)
    kind = ikInteger;
  else
    return nullptr;
  auto it = FIndexes.find({&Field, kind});
  if (it == FIndexes.end())
    it = FIndexes.emplace(std::make_pair(&Field, kind), BuildIndex(Field, Cells, kind)).first;
  return it->second.get();
}

void TFieldSearch::Prepare(const TField& Field, const std::vector<Variant>& Cells,
                           TLocateOptions Options) const {
  IndexFor(Field, Cells, Options);
}

int TFieldSearch::Find(const TField& Field, const std::vector<Variant>& Cells, const Variant& Value,
                       TLocateOptions Options, int IndexThreshold) const {
  const TSearch s(Field, Value, Options);
  if (!s.Possible || Cells.empty()) return -1;
  if (!s.Null && Cells.size() >= static_cast<size_t>(std::max(IndexThreshold, 0))) {
    if (const TLocateIndex* index = IndexFor(Field, Cells, Options)) {
      if (s.Text) return index->Find(s.TargetText, s.Prefix);
      if (const auto whole = WholeNumber(s.Target)) return index->Find(IntegerKey(*whole), false);
      return -1;  // an integer field holds no fraction
    }
  }
  for (size_t r = 0; r < Cells.size(); ++r)
    if (s.Matches(Cells[r])) return static_cast<int>(r);
  return -1;
}

int TFieldSearch::FindComputed(const TField& Field, int RecordCount,
                               const std::function<Variant(int)>& ValueOf, const Variant& Value,
                               TLocateOptions Options) const {
  const TSearch s(Field, Value, Options);
  if (!s.Possible) return -1;
  for (int r = 0; r < RecordCount; ++r)
    if (s.Matches(ValueOf(r))) return r;
  return -1;
}
