#pragma once
// What the benchmark programs share: a main for those that need a widget
// application, and a SQLite file filled in one transaction.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <filesystem>
#include <functional>
#include <string>

// Runs the registered benchmarks inside an application on the offscreen
// platform: the controls are widgets, and need no display.
inline int RunWidgetBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Creates the file at Path with the statements of Schema, then inserts Rows
// rows with the statement Insert, Bind(statement, row) giving each its
// values, all in one transaction.
inline void FillFile(const std::filesystem::path& Path, const std::string& Schema,
                     const char* Insert, int Rows,
                     const std::function<void(sqlite3_stmt*, int)>& Bind) {
  sqlite3* db = nullptr;
  sqlite3_open(Path.c_str(), &db);
  sqlite3_exec(db, (Schema + "; BEGIN").c_str(), nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, Insert, -1, &insert, nullptr);
  for (int row = 0; row < Rows; ++row) {
    Bind(insert, row);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

// Binds Text to parameter Index, copied.
inline void BindText(sqlite3_stmt* Statement, int Index, const std::string& Text) {
  sqlite3_bind_text(Statement, Index, Text.data(), static_cast<int>(Text.size()), SQLITE_TRANSIENT);
}
