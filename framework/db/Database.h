#pragma once
// TDatabase: one connection to a SQLite database file (or ":memory:"), shared
// by the data sets that read from it.
#include <sqlite3.h>

#include <vector>

#include "framework/rtl/AnsiString.h"
#include "framework/rtl/Component.h"

class TDataSet;

class TDatabase : public TComponent {
 public:
  explicit TDatabase(TComponent* AOwner);
  ~TDatabase() override;

  // The file path (Windows-1252 like every text of the library) or ":memory:".
  // Changing it closes the connection.
  const AnsiString& DatabaseName() const { return FDatabaseName; }
  void SetDatabaseName(const AnsiString& Value);

  // Opens the file for reading only; every write then fails in Post.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);

  // How long a write waits for another connection's lock before it fails
  // with "database is locked", in milliseconds.
  int BusyTimeout() const { return FBusyTimeout; }
  void SetBusyTimeout(int Milliseconds);

  bool Connected() const { return FDb != nullptr; }
  void SetConnected(bool Value);
  // Creates the file when it does not exist (unless ReadOnly). Throws
  // EDatabaseError with SQLite's message.
  void Open();
  // Closes the data sets reading from this database first.
  void Close();

  // Runs one or more statements separated by ";" (text in Windows-1252).
  void ExecSQL(const AnsiString& SQL);

  // The connection, for the data sets; null while not connected.
  sqlite3* Handle() const { return FDb; }

 private:
  friend class TDataSet;
  void AttachDataSet(TDataSet* DataSet);
  void DetachDataSet(TDataSet* DataSet);

  AnsiString FDatabaseName;
  bool FReadOnly = false;
  int FBusyTimeout = 2000;
  sqlite3* FDb = nullptr;
  std::vector<TDataSet*> FDataSets;
};
