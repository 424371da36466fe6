#include "framework/db/LocateIndex.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <string_view>

#include "framework/rtl/CodePage.h"

namespace {

std::array<char, 256> MakeFoldTable() {
  std::array<char, 256> t{};
  for (int b = 0; b < 256; ++b) {
    t[b] = static_cast<char>(b);
    const char32_t u = AnsiCharToUnicode(static_cast<unsigned char>(b));
    const char32_t lower = QChar::toLower(u);
    char c;
    if (lower != u && TryUnicodeToAnsiChar(lower, c)) t[b] = c;
  }
  return t;
}

const std::array<char, 256>& FoldTable() {
  static const std::array<char, 256> table = MakeFoldTable();
  return table;
}

// The first eight bytes, big-endian and zero-padded: comparing these orders
// keys as the full comparison does whenever they differ.
uint64_t Head(std::string_view S) {
  uint64_t h = 0;
  for (size_t i = 0; i < 8; ++i)
    h = (h << 8) | (i < S.size() ? static_cast<unsigned char>(S[i]) : 0u);
  return h;
}

bool StartsWith(std::string_view S, std::string_view Prefix) {
  return S.size() >= Prefix.size() && S.compare(0, Prefix.size(), Prefix) == 0;
}

}  // namespace

char FoldCaseAnsi(char C) { return FoldTable()[static_cast<unsigned char>(C)]; }

AnsiString FoldCaseAnsi(const AnsiString& S) {
  const auto& t = FoldTable();
  AnsiString out(S);
  for (char& c : out) c = t[static_cast<unsigned char>(c)];
  return out;
}

void TLocateIndex::Add(uint32_t Record, std::string_view Key) {
  FStart.push_back(static_cast<uint32_t>(FText.size()));
  FRecord.push_back(Record);
  FText.append(Key);
}

std::string_view TLocateIndex::KeyAt(size_t Entry) const {
  const size_t end = Entry + 1 < FStart.size() ? FStart[Entry + 1] : FText.size();
  return std::string_view(FText).substr(FStart[Entry], end - FStart[Entry]);
}

void TLocateIndex::Build() {
  struct TEntry {
    uint64_t Head;
    uint32_t Index;
  };
  std::vector<TEntry> entries(FStart.size());
  for (size_t i = 0; i < entries.size(); ++i)
    entries[i] = {Head(KeyAt(i)), static_cast<uint32_t>(i)};
  std::sort(entries.begin(), entries.end(), [this](const TEntry& a, const TEntry& b) {
    if (a.Head != b.Head) return a.Head < b.Head;
    // Equal heads still differ in length when a key holds zero bytes.
    const int c = KeyAt(a.Index).compare(KeyAt(b.Index));
    return c != 0 ? c < 0 : FRecord[a.Index] < FRecord[b.Index];
  });
  FOrder.resize(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) FOrder[i] = entries[i].Index;

  // Bottom-up segment tree: leaves at n..2n-1, each parent the minimum of two.
  const size_t n = FOrder.size();
  FMinTree.assign(2 * n, 0);
  for (size_t i = 0; i < n; ++i) FMinTree[n + i] = FRecord[FOrder[i]];
  for (size_t i = n; i-- > 1;) FMinTree[i] = std::min(FMinTree[2 * i], FMinTree[2 * i + 1]);
}

uint32_t TLocateIndex::MinRecord(size_t Lo, size_t Hi) const {
  uint32_t best = UINT32_MAX;
  const size_t n = FOrder.size();
  for (Lo += n, Hi += n; Lo < Hi; Lo /= 2, Hi /= 2) {
    if (Lo & 1) best = std::min(best, FMinTree[Lo++]);
    if (Hi & 1) best = std::min(best, FMinTree[--Hi]);
  }
  return best;
}

int TLocateIndex::Find(std::string_view Key, bool Prefix) const {
  const auto lo = std::lower_bound(FOrder.begin(), FOrder.end(), Key,
                                   [this](uint32_t e, std::string_view k) { return KeyAt(e) < k; });
  if (lo == FOrder.end()) return -1;
  if (!Prefix) return KeyAt(*lo) == Key ? static_cast<int>(FRecord[*lo]) : -1;
  // The keys that begin with Key follow each other from lo on; the first in
  // record order is the lowest record number among them.
  const auto hi =
      std::partition_point(lo, FOrder.end(), [&](uint32_t e) { return StartsWith(KeyAt(e), Key); });
  if (hi == lo) return -1;
  return static_cast<int>(MinRecord(static_cast<size_t>(lo - FOrder.begin()),
                                    static_cast<size_t>(hi - FOrder.begin())));
}
