// The lookup pair over a 1,000,000-record list: a keystroke in the typing
// box, from the key press to the completed text painted, beside the same
// keystroke in a plain line edit; and opening the drop-down list.
#include <sqlite3.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <random>

#include "bench/BenchSupport.h"
#include "combos/EditLookupComboBox.h"
#include "combos/MyDBLookupComboBox.h"
#include "framework/db/Database.h"
#include "framework/forms/Form.h"
#include "framework/rtl/CodePage.h"

namespace {

constexpr int kRecords = 1000000;

// A person living in one of a million Italian-looking places, named by the place.
struct TPlaces {
  std::filesystem::path Path = std::filesystem::temp_directory_path() /
                               ("astrevo-lookup-" + std::to_string(getpid()) + ".db");
  TPlaces() {
    static const char* const kSyllables[] = {"ro", "ma", "vi",   "go", "to", "ri", "no",
                                             "ca", "la", "stel", "mi", "na", "po", "ve"};
    std::mt19937 rng(7);
    FillFile(Path,
             "CREATE TABLE city (id INTEGER PRIMARY KEY, name VARCHAR(40));"
             "CREATE TABLE person (id INTEGER PRIMARY KEY, city VARCHAR(40));"
             "INSERT INTO person VALUES (1, NULL)",
             "INSERT INTO city (name) VALUES (?)", kRecords, [&](sqlite3_stmt* Insert, int) {
               std::string name;
               for (int n = 2 + static_cast<int>(rng() % 4); n > 0; --n)
                 name += kSyllables[rng() % 14];
               name[0] = static_cast<char>(name[0] - 'a' + 'A');
               BindText(Insert, 1, name);
             });
  }
  ~TPlaces() { std::filesystem::remove(Path); }
};

// A form with the pair bound to the person's place, the typing box focused
// and holding "Ro" with the caret at its end.
struct TPairForm {
  TPlaces Places;
  TDatabase Db{nullptr};
  TDataSet People{nullptr}, Cities{nullptr};
  TDataSource PeopleSource{nullptr}, CitySource{nullptr};
  TForm Form{nullptr};
  TMyDBLookupComboBox* Combo = new TMyDBLookupComboBox(&Form);
  TPairForm() {
    Db.SetDatabaseName(Places.Path.string());
    People.SetDatabase(&Db);
    People.SetTableName("person");
    Cities.SetDatabase(&Db);
    Cities.SetTableName("city");
    People.Open();
    Cities.Open();
    PeopleSource.SetDataSet(&People);
    CitySource.SetDataSet(&Cities);
    Combo->SetDataSource(&PeopleSource);
    Combo->SetDataField("city");
    Combo->SetListSource(&CitySource);
    Combo->SetKeyField("name");
    Combo->SetListField("name");
    Combo->setGeometry(10, 10, 200, 24);
    Form.resize(240, 60);
    Form.show();
    QApplication::setActiveWindow(&Form);
    Combo->setFocus();
    QApplication::processEvents();
    QApplication::processEvents();
    TEditLookupComboBox* box = Combo->EditBox();
    QTest::keyClicks(box, "Ro");
  }
};

TPairForm& Pair() {
  static TPairForm pair;
  return pair;
}

// Two keystrokes: a letter, searched and completed, then Backspace, searched
// again; each painted before the next.
void BM_LookupBoxKeystroke1M(benchmark::State& state) {
  TEditLookupComboBox* box = Pair().Combo->EditBox();
  for (auto _ : state) {
    QTest::keyClick(box, Qt::Key_V);
    box->repaint();
    QTest::keyClick(box, Qt::Key_Backspace);
    box->repaint();
  }
  state.SetItemsProcessed(state.iterations() * 2);
  state.counters["shown"] = box->lineEdit()->text().size();
}
BENCHMARK(BM_LookupBoxKeystroke1M)->Unit(benchmark::kMicrosecond);

// Baseline: the same two keystrokes in a plain line edit of the same size,
// holding the text the typing box shows.
void BM_QLineEditKeystroke(benchmark::State& state) {
  QLineEdit edit;
  edit.resize(200, 24);
  edit.setText(Pair().Combo->EditBox()->lineEdit()->text());  // the same text as the typing box
  edit.show();
  edit.setFocus();
  edit.setCursorPosition(2);
  for (auto _ : state) {
    QTest::keyClick(&edit, Qt::Key_V);
    edit.repaint();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    edit.repaint();
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_QLineEditKeystroke)->Unit(benchmark::kMicrosecond);

// The typing box is an editable combo box: the same keystrokes in a plain one.
void BM_QComboBoxKeystroke(benchmark::State& state) {
  QComboBox combo;
  combo.setEditable(true);
  combo.resize(200, 24);
  combo.setEditText(Pair().Combo->EditBox()->lineEdit()->text());
  combo.show();
  combo.setFocus();
  combo.lineEdit()->setCursorPosition(2);
  for (auto _ : state) {
    QTest::keyClick(&combo, Qt::Key_V);
    combo.repaint();
    QTest::keyClick(&combo, Qt::Key_Backspace);
    combo.repaint();
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_QComboBoxKeystroke)->Unit(benchmark::kMicrosecond);

// Opening the list on the shown record, up to its first paint.
void BM_LookupDropDown1M(benchmark::State& state) {
  TMyDBLookupComboBox* combo = Pair().Combo;
  for (auto _ : state) {
    combo->DropDown();
    combo->ListView()->viewport()->repaint();
    state.PauseTiming();
    combo->CloseUp(false);
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["rows"] = combo->ListView()->model()->rowCount();
}
BENCHMARK(BM_LookupDropDown1M)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunWidgetBenchmarks(argc, argv); }
