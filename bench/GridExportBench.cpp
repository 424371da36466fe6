// The grid's export end to end: 100,000 records of 10 columns read from a
// SQLite table through the data set and sent cell by cell to the
// spreadsheet server, which writes the .xlsx file; cells per second, and
// the peak memory of the whole process.
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <string>

#include "bench/BenchSupport.h"
#include "framework/db/Database.h"
#include "framework/forms/UserServices.h"
#include "grid/MyDBGrid.h"
#include "spreadsheet/SpreadsheetServer.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kColumns = 10;

// Opening the workbook on a desktop is no part of the measure.
class TQuietServices : public TUserServices {
 public:
  int MessageBox(QWidget*, const AnsiString&, const AnsiString&, unsigned) override { return 1; }
  void Beep(unsigned) override {}
  bool OpenDocument(const AnsiString&) override { return true; }
};

struct TExportForm {
  std::filesystem::path Folder =
      std::filesystem::temp_directory_path() / ("astrevo-export-" + std::to_string(getpid()));
  TQuietServices Services;
  TDatabase Db{nullptr};
  TDataSet Table{nullptr};
  TDataSource Source{nullptr};
  TMyDBGrid Grid{nullptr};
  TExportForm() {
    std::filesystem::create_directories(Folder);
    SetUserServices(&Services);
    SetSpreadsheetFolder(Folder);
    const std::string path = (Folder / "rows.db").string();
    // Odd columns hold texts, even ones numbers, as the server's own benchmark.
    std::string create = "CREATE TABLE t (c0 INTEGER";
    for (int c = 1; c < kColumns; ++c)
      create += c % 2 ? ", c" + std::to_string(c) + " TEXT" : ", c" + std::to_string(c) + " REAL";
    FillFile(path, create + ")", "INSERT INTO t VALUES (?,?,?,?,?,?,?,?,?,?)", kRecords,
             [](sqlite3_stmt* Insert, int Row) {
               sqlite3_bind_int(Insert, 1, Row * 7);
               for (int c = 1; c < kColumns; ++c) {
                 if (c % 2)
                   BindText(Insert, c + 1,
                            "Text " + std::to_string(Row) + " in column " + std::to_string(c));
                 else
                   sqlite3_bind_double(Insert, c + 1, Row * 0.25 - c);
               }
             });
    Db.SetDatabaseName(path);
    Table.SetDatabase(&Db);
    Table.SetTableName("t");
    Table.Open();
    Source.SetDataSet(&Table);
    Grid.SetDataSource(&Source);
    Grid.resize(800, 600);
  }
  ~TExportForm() {
    SetUserServices(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(Folder, ec);
  }
};

void BM_GridDataExport(benchmark::State& state) {
  static TExportForm form;
  for (auto _ : state) {
    form.Grid.DataExport(&form.Grid, &form.Grid);
    state.PauseTiming();
    for (const auto& e : std::filesystem::directory_iterator(form.Folder))
      if (e.path().extension() == ".xlsx") std::filesystem::remove(e.path());
    state.ResumeTiming();
  }
  state.counters["cells"] = benchmark::Counter(double(kRecords) * kColumns * state.iterations(),
                                               benchmark::Counter::kIsRate);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MiB"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_GridDataExport)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

int main(int argc, char** argv) { return RunWidgetBenchmarks(argc, argv); }
