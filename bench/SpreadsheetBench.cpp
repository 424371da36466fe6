// 100,000 rows of 10 cells into a workbook: through automation with the
// requests the grid's export sends per cell (a Range read and a Value write,
// each looked up by name), and written straight with libxlsxwriter in
// constant-memory mode, in the same run. Both produce the .xlsx file; peak
// memory is reported per benchmark (the kernel's high-water mark, reset
// before each).
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/ole/OleAuto.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FormatSettings.h"
#include "spreadsheet/SpreadsheetServer.h"
#include "spreadsheet/XlsxCheck.h"

namespace {

constexpr int kRows = 100000;
constexpr int kColumns = 10;

// Odd columns hold texts, even ones numbers (integers and decimals).
bool IsNumberColumn(int Col) { return Col % 2 == 0; }
double NumberAt(int Row, int Col) { return Col % 4 == 0 ? Row * 7 + Col : Row * 0.25 - Col; }
int TextAt(int Row, int Col, char* Out, size_t Size) {
  return std::snprintf(Out, Size, "Text %d in column %d", Row, Col);
}

// The cell as the export sends it: always a text.
AnsiString CellText(int Row, int Col) {
  char text[64];
  if (IsNumberColumn(Col))
    return AnsiString(text, std::to_chars(text, text + sizeof text, NumberAt(Row, Col)).ptr);
  return AnsiString(text, TextAt(Row, Col, text, sizeof text));
}

// "B7:B7", formatted at once as the grid's CodRange does.
AnsiString CellRange(int Row, int Col) {
  char text[32];
  const int n = std::snprintf(text, sizeof text, "%c%d:%c%d", 'A' + Col, Row, 'A' + Col, Row);
  return AnsiString(text, n);
}

AnsiString Letter(int Col) { return AnsiString(1, static_cast<char>('A' + Col)); }

void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

double PeakMemoryMiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

struct TFolder {
  std::filesystem::path Path;
  TFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "astrevo-bench-xlsx-XXXXXX").string();
    Path = mkdtemp(pattern.data());
  }
  ~TFolder() { std::filesystem::remove_all(Path); }
  void Clear() {
    for (const auto& e : std::filesystem::directory_iterator(Path)) std::filesystem::remove(e);
  }
};

void BM_ExportThroughAutomation(benchmark::State& State) {
  FormatSettings.DecimalSeparator = '.';
  TFolder folder;
  SetSpreadsheetFolder(folder.Path);
  RegisterSpreadsheetServer();
  ResetPeakMemory();
  double requests_ms = 0, file_ms = 0;
  for (auto _ : State) {
    const auto start = std::chrono::steady_clock::now();
    auto requests_done = start;
    {
      // As the export: attach to the running instance, or start one.
      Variant app;
      try {
        app = GetActiveOleObject(kSpreadsheetProgID);
      } catch (const EOleSysError&) {
        app = CreateOleObject(kSpreadsheetProgID);
      }
      Variant books = OlePropertyGet(app, "Workbooks");
      OleProcedure(books, "Add");
      for (int c = 0; c < kColumns; ++c) {
        OlePropertySet(OlePropertyGet(app, "Range", Letter(c) + ":" + Letter(c)), "ColumnWidth",
                       12);
        OlePropertySet(OlePropertyGet(app, "Range", Letter(c) + "1:" + Letter(c) + "1"), "Value",
                       "Column " + Letter(c));
      }
      for (int r = 2; r < kRows + 2; ++r) {
        for (int c = 0; c < kColumns; ++c) {
          Variant range = OlePropertyGet(app, "Range", CellRange(r, c));
          OlePropertySet(range, "Value", CellText(r, c));
        }
      }
      requests_done = std::chrono::steady_clock::now();
    }  // the last reference goes: the workbook is written
    const auto written = std::chrono::steady_clock::now();
    requests_ms += std::chrono::duration<double, std::milli>(requests_done - start).count();
    file_ms += std::chrono::duration<double, std::milli>(written - requests_done).count();
    State.PauseTiming();
    if (std::distance(std::filesystem::directory_iterator(folder.Path), {}) != 1)
      State.SkipWithError("no workbook written");
    folder.Clear();
    State.ResumeTiming();
  }
  OleProcedure(GetActiveOleObject(kSpreadsheetProgID), "Quit");
  // Where the time goes: the requests (rows still streaming to libxlsxwriter's
  // temporary file) and writing the .xlsx when the last reference goes.
  State.counters["requests_ms"] = requests_ms / State.iterations();
  State.counters["file_ms"] = file_ms / State.iterations();
  State.counters["cells"] = benchmark::Counter(double(kRows) * kColumns * State.iterations(),
                                               benchmark::Counter::kIsRate);
  State.counters["peak_MiB"] = PeakMemoryMiB();
}

void BM_WriteDirectly(benchmark::State& State) {
  TFolder folder;
  ResetPeakMemory();
  for (auto _ : State) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const std::string path = (folder.Path / "direct.xlsx").string();
    lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    for (int c = 0; c < kColumns; ++c) {
      worksheet_set_column(sheet, c, c, 12, nullptr);
      worksheet_write_string(sheet, 0, c, ("Column " + Letter(c)).c_str(), nullptr);
    }
    char text[64];
    for (int r = 1; r < kRows + 1; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        if (IsNumberColumn(c)) {
          worksheet_write_number(sheet, r, c, NumberAt(r + 1, c), nullptr);
        } else {
          TextAt(r + 1, c, text, sizeof text);
          worksheet_write_string(sheet, r, c, text, nullptr);
        }
      }
    }
    if (workbook_close(book) != LXW_NO_ERROR) State.SkipWithError("workbook_close failed");
    State.PauseTiming();
    folder.Clear();
    State.ResumeTiming();
  }
  State.counters["cells"] = benchmark::Counter(double(kRows) * kColumns * State.iterations(),
                                               benchmark::Counter::kIsRate);
  State.counters["peak_MiB"] = PeakMemoryMiB();
}

// The read-back check the server makes of every file it writes, alone.
void BM_CheckWrittenFile(benchmark::State& State) {
  TFolder folder;
  const std::string path = (folder.Path / "check.xlsx").string();
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* book = workbook_new_opt(path.c_str(), &options);
  lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
  char text[64];
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      TextAt(r, c, text, sizeof text);
      worksheet_write_string(sheet, r, c, text, nullptr);
    }
  }
  workbook_close(book);
  std::string problem;
  for (auto _ : State) benchmark::DoNotOptimize(XlsxComplete(path, 0, problem));
}

}  // namespace

BENCHMARK(BM_ExportThroughAutomation)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_WriteDirectly)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_CheckWrittenFile)->Unit(benchmark::kMillisecond)->MinTime(1);

BENCHMARK_MAIN();
