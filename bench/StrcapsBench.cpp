// The capitalisation filters over a long text, against a plain copy and the
// simplest filter measured in the same run.
#include <benchmark/benchmark.h>

#include <random>

#include "controls/Strcaps.h"

namespace {

// About 1 MB of addresses and names: particles, capitals, accented letters,
// apostrophes, abbreviations and numbers, in a fixed pseudo-random order.
const AnsiString& MixedText() {
  static const AnsiString text = [] {
    const char* const words[] = {
        "via",    "PIAZZA",   "della",    "dell'orto", "s.maria",    "di",        "roma",
        "3a",     "strada",   "Citt\xE0", "\xE8",      "nord",       "vittorio",  "iii",
        "ss",     "113",      "jean-luc", "o'neill",   "e",          "MUSEO",     "degli",
        "uffizi", "l'aquila", "sul",      "mare",      "12/05/2008", "perch\xE9", "aaron"};
    const char* const gaps[] = {" ", " ", " ", ", ", ". ", " - ", "\n"};
    std::mt19937 random(2008);
    AnsiString t;
    t.reserve((1 << 20) + 32);
    while (t.size() < (1 << 20)) {
      t += words[random() % std::size(words)];
      t += gaps[random() % std::size(gaps)];
    }
    t.resize(1 << 20);
    return t;
  }();
  return text;
}

using TextOp = AnsiString (TStringCaps::*)(const AnsiString&);

void RunFilter(benchmark::State& state, TextOp Op) {
  const AnsiString& text = MixedText();
  TStringCaps caps;
  for (auto _ : state) {
    AnsiString out = (caps.*Op)(text);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}

void BM_CopyText(benchmark::State& state) {
  const AnsiString& text = MixedText();
  for (auto _ : state) {
    AnsiString out = text;
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}

void BM_AllCapsFilter(benchmark::State& state) { RunFilter(state, &TStringCaps::AllCapsFilter); }
void BM_FirstCapFilter(benchmark::State& state) { RunFilter(state, &TStringCaps::FirstCapFilter); }
void BM_FirstCapCongFilter(benchmark::State& state) {
  RunFilter(state, &TStringCaps::FirstCapCongFilter);
}

}  // namespace

BENCHMARK(BM_CopyText);
BENCHMARK(BM_AllCapsFilter);
BENCHMARK(BM_FirstCapFilter);
BENCHMARK(BM_FirstCapCongFilter);

BENCHMARK_MAIN();
