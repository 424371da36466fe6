#pragma once
// One prepared SQLite statement, finalized with its owner. Text goes in and
// out as UTF-8: the callers convert at their own boundary. Errors are raised
// through the database, which notices damage to its file on the way.
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

class TDatabase;

class TSqlStatement {
 public:
  // Throws EDatabaseError with SQLite's message and code when the text does
  // not compile. OnlyReading: the text must be one statement that only reads
  // and returns rows; anything else is refused (SQLITE_AUTH) while it is
  // prepared, before SQLite can apply any of it.
  TSqlStatement(TDatabase& Db, std::string_view Utf8Sql, bool OnlyReading = false);
  ~TSqlStatement();
  TSqlStatement(const TSqlStatement&) = delete;
  TSqlStatement& operator=(const TSqlStatement&) = delete;

  // Parameters are numbered from 1, as SQLite numbers them.
  void BindNull(int Index);
  void BindInt64(int Index, int64_t Value);
  void BindDouble(int Index, double Value);
  void BindText(int Index, std::string_view Utf8);
  void BindBlob(int Index, std::string_view Bytes);

  // True while a row is available; false when the statement is done. Any
  // other result throws EDatabaseError with SQLite's message and code.
  bool Step();

  int ColumnCount() const;
  int ColumnType(int Column) const;
  std::string ColumnName(int Column) const;
  // The declared type of a result column taken straight from a table; empty
  // for expressions.
  std::string ColumnDeclType(int Column) const;
  int64_t ColumnInt64(int Column) const;
  double ColumnDouble(int Column) const;
  std::string_view ColumnText(int Column) const;
  std::string_view ColumnBlob(int Column) const;

  sqlite3_stmt* Handle() const { return FStmt; }

 private:
  void Check(int Rc) const;
  void PrepareQuery(std::string_view Utf8Sql);
  TDatabase& FDb;
  sqlite3_stmt* FStmt = nullptr;
};
