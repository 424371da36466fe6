// The typing box's search on a 1,000,000-record list: First, then a
// case-insensitive partial-key Locate per keystroke, and opening the list;
// each beside a plain scan of the same rows in the same run. Also what the
// check of the file costs when the database opens.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "framework/db/DataSet.h"
#include "framework/db/Database.h"
#include "framework/db/LocateIndex.h"
#include "framework/rtl/CodePage.h"

namespace {

constexpr int kRecords = 1000000;

// Italian-looking place names in random order, accented letters included.
std::vector<AnsiString> MakeNames() {
  static const char* const kSyllables[] = {
      "ro", "ma", "vi", "go", "to", "ri",    "no", "cit", "t\xE0", "ca", "stel", "lo", "mi", "la",
      "na", "po", "li", "sa", "le", "r\xF2", "be", "ne",  "ven",   "to", "\xE8", "pe", "ru", "gia"};
  std::mt19937 rng(42);
  std::vector<AnsiString> names;
  names.reserve(kRecords);
  for (int i = 0; i < kRecords; ++i) {
    AnsiString name;
    for (int n = 2 + static_cast<int>(rng() % 4); n > 0; --n) name += kSyllables[rng() % 28];
    name[0] = UpCaseAscii(name[0]);
    if (rng() % 5 == 0) name += " di " + AnsiString(kSyllables[rng() % 28]) + "lo";
    names.push_back(name);
  }
  return names;
}

struct TList {
  std::filesystem::path Path;
  std::vector<AnsiString> Names;  // the same rows, for the plain scans
  TList() : Names(MakeNames()) {
    Path = std::filesystem::temp_directory_path() /
           ("astrevo-bench-" + std::to_string(getpid()) + ".db");
    FillFile(Path, "CREATE TABLE city (id INTEGER PRIMARY KEY, name VARCHAR(40))",
             "INSERT INTO city (name) VALUES (?)", static_cast<int>(Names.size()),
             [this](sqlite3_stmt* Insert, int Row) {
               BindText(Insert, 1, AnsiToUtf8(Names[static_cast<size_t>(Row)]));
             });
  }
  ~TList() { std::filesystem::remove(Path); }
};

TList& List() {
  static TList list;
  return list;
}

struct TOpenList {
  TDatabase Db{nullptr};
  TDataSet City{nullptr};
  TOpenList() {
    Db.SetDatabaseName(List().Path.string());
    City.SetDatabase(&Db);
    City.SetTableName("city");
    City.Open();
  }
};

// What a user types: every prefix of a few names, in upper and lower case,
// some of them far down the list, and a text that matches nothing.
std::vector<AnsiString> TypedTexts() {
  const auto& names = List().Names;
  std::vector<AnsiString> typed;
  for (const AnsiString& target :
       {names[kRecords - 1], names[kRecords / 2], names[kRecords / 3], AnsiString("Citt\xE0qz")}) {
    for (size_t n = 1; n <= target.size(); ++n) {
      typed.push_back(target.substr(0, n));
      typed.push_back(UpperCaseAscii(target.substr(0, n)));
    }
  }
  return typed;
}

// The first row (from 0) whose folded text begins with the folded key, or -1.
int ScanFirst(const std::vector<AnsiString>& Names, const std::array<char, 256>& Fold,
              const AnsiString& FoldedKey) {
  for (size_t r = 0; r < Names.size(); ++r) {
    const AnsiString& name = Names[r];
    if (name.size() < FoldedKey.size()) continue;
    size_t k = 0;
    while (k < FoldedKey.size() && Fold[static_cast<unsigned char>(name[k])] == FoldedKey[k]) ++k;
    if (k == FoldedKey.size()) return static_cast<int>(r);
  }
  return -1;
}

std::array<char, 256> FoldTable() {
  std::array<char, 256> fold;
  for (int b = 0; b < 256; ++b) fold[static_cast<size_t>(b)] = FoldCaseAnsi(static_cast<char>(b));
  return fold;
}

const std::vector<AnsiString> kNoMatch = {"Zq", "zqx", "Citt\xE0 di qq"};

void BM_OpenList(benchmark::State& state) {
  List();
  for (auto _ : state) {
    TOpenList open;
    benchmark::DoNotOptimize(open.City.RecordCount());
  }
}
BENCHMARK(BM_OpenList)->Unit(benchmark::kMillisecond)->MinTime(3);

// Opening as a lookup list does: the display field made ready for searching.
void BM_OpenListReadyToSearch(benchmark::State& state) {
  List();
  for (auto _ : state) {
    TOpenList open;
    open.City.PrepareLocate("name", {loCaseInsensitive, loPartialKey});
  }
}
BENCHMARK(BM_OpenListReadyToSearch)->Unit(benchmark::kMillisecond)->MinTime(3);

// Connecting to the list's file, with and without the full check
// (PRAGMA integrity_check) that files up to TDatabase::OpenCheckLimit get.
void BM_OpenDatabase(benchmark::State& state) {
  List();
  for (auto _ : state) {
    TDatabase db(nullptr);
    db.SetDatabaseName(List().Path.string());
    db.OpenCheckLimit = state.range(0) ? INT64_MAX : 0;
    db.Open();
  }
}
BENCHMARK(BM_OpenDatabase)->ArgName("checked")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Baseline: the same rows stepped through the C API into plain strings.
void BM_OpenList_PlainRead(benchmark::State& state) {
  List();
  for (auto _ : state) {
    sqlite3* db = nullptr;
    sqlite3_open(List().Path.c_str(), &db);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "SELECT rowid, id, name FROM city", -1, &select, nullptr);
    std::vector<std::pair<int64_t, AnsiString>> rows;
    while (sqlite3_step(select) == SQLITE_ROW)
      rows.emplace_back(sqlite3_column_int64(select, 1),
                        Utf8ToAnsi(reinterpret_cast<const char*>(sqlite3_column_text(select, 2))));
    sqlite3_finalize(select);
    sqlite3_close(db);
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_OpenList_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(3);

// The first search after opening without PrepareLocate sorts the display field.
void BM_FirstKeystrokeAfterOpen(benchmark::State& state) {
  TOpenList open;
  for (auto _ : state) {
    state.PauseTiming();
    open.City.Close();
    open.City.Open();
    state.ResumeTiming();
    open.City.First();
    benchmark::DoNotOptimize(open.City.Locate("name", "R", {loCaseInsensitive, loPartialKey}));
  }
}
BENCHMARK(BM_FirstKeystrokeAfterOpen)->Unit(benchmark::kMillisecond)->MinTime(3);

void Keystrokes(benchmark::State& state, const std::vector<AnsiString>& Typed) {
  TOpenList open;
  const TLocateOptions options{loCaseInsensitive, loPartialKey};
  // Checked once, untimed: the index finds what the scan finds.
  const auto fold = FoldTable();
  for (const AnsiString& key : Typed) {
    open.City.First();
    const bool found = open.City.Locate("name", key, options);
    const int expected = ScanFirst(List().Names, fold, FoldCaseAnsi(key));
    if (found != (expected >= 0) || (found && open.City.RecNo() != expected + 1))
      return state.SkipWithError(("wrong record for " + key).c_str());
  }
  size_t i = 0;
  for (auto _ : state) {
    open.City.First();
    benchmark::DoNotOptimize(open.City.Locate("name", Typed[i++ % Typed.size()], options));
  }
}

// Baseline: the same keystrokes as a scan from the first row, comparing
// case-folded bytes and stopping at the first match.
void Scans(benchmark::State& state, const std::vector<AnsiString>& Typed) {
  const auto fold = FoldTable();
  size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        ScanFirst(List().Names, fold, FoldCaseAnsi(Typed[i++ % Typed.size()])));
}

void BM_Keystroke(benchmark::State& state) { Keystrokes(state, TypedTexts()); }
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMicrosecond);

void BM_Keystroke_LinearScan(benchmark::State& state) { Scans(state, TypedTexts()); }
BENCHMARK(BM_Keystroke_LinearScan)->Unit(benchmark::kMicrosecond);

// A text that matches nothing: the scan reads every row.
void BM_KeystrokeNoMatch(benchmark::State& state) { Keystrokes(state, kNoMatch); }
BENCHMARK(BM_KeystrokeNoMatch)->Unit(benchmark::kMicrosecond);

void BM_KeystrokeNoMatch_LinearScan(benchmark::State& state) { Scans(state, kNoMatch); }
BENCHMARK(BM_KeystrokeNoMatch_LinearScan)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
