// Scrolling a data grid over 1,000,000 records of 10 columns, by a page and
// from the first row to the last, each scroll painted; beside it a table
// view over a plain in-memory model of the same cells.
#include <sqlite3.h>
#include <unistd.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "framework/db/Database.h"
#include "framework/dbctrls/DBGrid.h"

namespace {

constexpr int kRecords = 1000000;
constexpr int kColumns = 10;

// The text of a cell, the same for the file and the plain model.
std::string Cell(int Row, int Col) {
  return Col == 0 ? std::to_string(Row + 1) : "r" + std::to_string(Row) + "c" + std::to_string(Col);
}

struct TFile {
  std::filesystem::path Path =
      std::filesystem::temp_directory_path() / ("astrevo-grid-" + std::to_string(getpid()) + ".db");
  TFile() {
    std::string create = "CREATE TABLE t (id INTEGER PRIMARY KEY";
    for (int c = 1; c < kColumns; ++c) create += ", c" + std::to_string(c) + " VARCHAR(12)";
    FillFile(Path, create + ")", "INSERT INTO t VALUES (?,?,?,?,?,?,?,?,?,?)", kRecords,
             [](sqlite3_stmt* Insert, int Row) {
               sqlite3_bind_int(Insert, 1, Row + 1);
               for (int c = 1; c < kColumns; ++c) BindText(Insert, c + 1, Cell(Row, c));
             });
  }
  ~TFile() { std::filesystem::remove(Path); }
};

struct TGridForm {
  TFile File;
  TDatabase Db{nullptr};
  TDataSet Table{nullptr};
  TDataSource Source{nullptr};
  TDBGrid Grid{nullptr};
  TGridForm() {
    Db.SetDatabaseName(File.Path.string());
    Table.SetDatabase(&Db);
    Table.SetTableName("t");
    Table.Open();
    Source.SetDataSet(&Table);
    Grid.SetDataSource(&Source);
    Grid.resize(800, 600);
    Grid.show();
    QApplication::processEvents();
  }
};

TGridForm& Form() {
  static TGridForm form;
  return form;
}

// The same cells held in memory.
class TPlainModel : public QAbstractTableModel {
 public:
  int rowCount(const QModelIndex& P) const override { return P.isValid() ? 0 : kRecords; }
  int columnCount(const QModelIndex& P) const override { return P.isValid() ? 0 : kColumns; }
  QVariant data(const QModelIndex& I, int Role) const override {
    if (Role != Qt::DisplayRole) return {};
    return FCells[size_t(I.row()) * kColumns + size_t(I.column())];
  }
  std::vector<QString> FCells = [] {
    std::vector<QString> cells(size_t(kRecords) * kColumns);
    for (int r = 0; r < kRecords; ++r)
      for (int c = 0; c < kColumns; ++c)
        cells[size_t(r) * kColumns + size_t(c)] = QString::fromStdString(Cell(r, c));
    return cells;
  }();
};

struct TPlainView {
  TPlainModel Model;
  QTableView View;
  TPlainView() {
    View.setModel(&Model);
    View.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    View.resize(800, 600);
    View.show();
    QApplication::processEvents();
  }
};

TPlainView& Plain() {
  static TPlainView plain;
  return plain;
}

// A page down and back up, each painted.
void PageScroll(QAbstractItemView& View, benchmark::State& state) {
  QScrollBar* bar = View.verticalScrollBar();
  bar->setValue(kRecords / 2);
  View.viewport()->repaint();
  for (auto _ : state) {
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    View.viewport()->repaint();
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    View.viewport()->repaint();
  }
  state.SetItemsProcessed(state.iterations() * 2);  // items/s = pages per second
}

// From the first row to the last and back, each painted.
void EndToEnd(QAbstractItemView& View, benchmark::State& state) {
  QScrollBar* bar = View.verticalScrollBar();
  for (auto _ : state) {
    bar->setValue(bar->maximum());
    View.viewport()->repaint();
    bar->setValue(0);
    View.viewport()->repaint();
  }
  state.SetItemsProcessed(state.iterations() * 2);
}

void BM_DBGridPage(benchmark::State& state) { PageScroll(Form().Grid, state); }
void BM_DBGridFirstToLast(benchmark::State& state) { EndToEnd(Form().Grid, state); }
void BM_PlainViewPage(benchmark::State& state) { PageScroll(Plain().View, state); }
void BM_PlainViewFirstToLast(benchmark::State& state) { EndToEnd(Plain().View, state); }
BENCHMARK(BM_DBGridPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainViewPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DBGridFirstToLast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainViewFirstToLast)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWidgetBenchmarks(argc, argv); }
