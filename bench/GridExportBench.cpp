// The grid's export end to end: 100,000 records of 10 columns read from a
// SQLite table through the data set and sent cell by cell to the
// spreadsheet server, which writes the .xlsx file; cells per second, and
// the peak memory of the whole process.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <filesystem>
#include <string>

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
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    // Odd columns hold texts, even ones numbers, as the server's own benchmark.
    std::string create = "CREATE TABLE t (c0 INTEGER";
    for (int c = 1; c < kColumns; ++c) create += c % 2 ? ", c" + std::to_string(c) + " TEXT"
                                                       : ", c" + std::to_string(c) + " REAL";
    sqlite3_exec(db, (create + "); BEGIN").c_str(), nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO t VALUES (?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
    for (int r = 0; r < kRecords; ++r) {
      sqlite3_bind_int(insert, 1, r * 7);
      for (int c = 1; c < kColumns; ++c) {
        if (c % 2) {
          const std::string text = "Text " + std::to_string(r) + " in column " + std::to_string(c);
          sqlite3_bind_text(insert, c + 1, text.data(), int(text.size()), SQLITE_TRANSIENT);
        } else {
          sqlite3_bind_double(insert, c + 1, r * 0.25 - c);
        }
      }
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
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

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
