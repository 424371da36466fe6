// The list check of the validated combo box over 100,000 entries, against a
// plain linear search of the same strings measured in the same run.

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/BenchSupport.h"
#include "combos/MyComboBox.h"

namespace {

constexpr int kEntries = 100000;

// Place names of equal length, so every comparison reads to the last digits.
const std::vector<AnsiString>& Entries() {
  static const std::vector<AnsiString> entries = [] {
    std::vector<AnsiString> v;
    v.reserve(kEntries);
    char name[32];
    for (int i = 0; i < kEntries; ++i) {
      std::snprintf(name, sizeof name, "Localit\xE0 %06d", i);
      v.emplace_back(name);
    }
    return v;
  }();
  return entries;
}

const AnsiString kMissing = "Localit\xE0 100000";
const AnsiString kLast = "Localit\xE0 099999";

TMyComboBox& Combo() {
  static TMyComboBox* combo = [] {
    auto* c = new TMyComboBox(nullptr);
    c->Items().AddStrings(Entries());
    return c;
  }();
  return *combo;
}

void RunValidData(benchmark::State& state, CharFilterType Filter, const AnsiString& Text,
                  bool Expected) {
  TMyComboBox& combo = Combo();
  combo.SetCharFilter(Filter);
  combo.SetText(Text);
  for (auto _ : state) {
    bool valid = combo.ValidData();
    benchmark::DoNotOptimize(valid);
    if (valid != Expected) state.SkipWithError("wrong result");
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_ValidData_NoMatch(benchmark::State& state) {
  RunValidData(state, chDefault, kMissing, false);
}
void BM_ValidData_LastEntry(benchmark::State& state) {
  RunValidData(state, chDefault, kLast, true);
}
// A re-casing filter: the text is in capitals, the entries are not.
void BM_ValidData_AllCaps_NoMatch(benchmark::State& state) {
  RunValidData(state, chAllCaps, UpperCaseAscii(kMissing), false);
}
void BM_ValidData_AllCaps_LastEntry(benchmark::State& state) {
  RunValidData(state, chAllCaps, UpperCaseAscii(kLast), true);
}

void BM_Baseline_VectorSearch_NoMatch(benchmark::State& state) {
  const std::vector<AnsiString>& entries = Entries();
  for (auto _ : state) {
    bool found = std::find(entries.begin(), entries.end(), kMissing) != entries.end();
    benchmark::DoNotOptimize(found);
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
}

}  // namespace

BENCHMARK(BM_Baseline_VectorSearch_NoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValidData_NoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValidData_LastEntry)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValidData_AllCaps_NoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValidData_AllCaps_LastEntry)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunWidgetBenchmarks(argc, argv); }
