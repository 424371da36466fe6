#pragma once
// TDatabase: one connection to a SQLite database file (or ":memory:"), shared
// by the data sets that read from it.
//
// Every connection enforces declared foreign keys, checks the size of the
// cells it reads and refuses SQL that deliberately corrupts a file
// (SQLite's defensive mode). A file of up to OpenCheckLimit bytes is checked
// in full when opened (PRAGMA integrity_check); a larger one, whose full
// check takes seconds, gets PRAGMA quick_check before its first write. A
// damaged file does not open; damage seen later (the check before the first
// write, or a statement failing with SQLITE_CORRUPT or SQLITE_NOTADB) makes
// every further write fail.
#include <sqlite3.h>

#include <cstdint>
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

  // Opens the file for reading only: data sets on it cannot be modified.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);

  // Open creates a missing file only when asked to, so that a mistyped path
  // fails instead of leaving an empty database behind.
  bool CreateIfMissing = false;

  // Files up to this size are checked in full when opened; larger ones, whose
  // check takes too long to wait for at every opening (docs/performance.md),
  // more lightly before their first write.
  int64_t OpenCheckLimit = 8 << 20;

  // How long a write waits for another connection's lock before it fails
  // with "database is locked", in milliseconds.
  int BusyTimeout() const { return FBusyTimeout; }
  void SetBusyTimeout(int Milliseconds);

  bool Connected() const { return FDb != nullptr; }
  void SetConnected(bool Value);
  // Throws EDatabaseError with SQLite's message and code: SQLITE_CANTOPEN for
  // a missing file, SQLITE_CORRUPT for a damaged one.
  void Open();
  // Closes the data sets reading from this database first.
  void Close();

  // Connected, not opened read-only, on a file that can be written and has
  // shown no damage.
  bool CanWrite() const;
  // Damage has been seen on this connection; writes fail from then on.
  bool Damaged() const { return FDamaged; }

  // Runs one or more statements separated by ";" (text in Windows-1252).
  // Several statements run as one transaction, all or nothing, unless the
  // script controls transactions itself or holds statements that cannot run
  // inside one (BEGIN, COMMIT, SAVEPOINT, VACUUM, ATTACH, PRAGMA...).
  void ExecSQL(const AnsiString& SQL);

  // The connection, for the data sets; null while not connected.
  sqlite3* Handle() const { return FDb; }

  // Raises the connection's last error as EDatabaseError with SQLite's
  // message and extended result code, noting damage to the file.
  [[noreturn]] void RaiseError();
  // Throws unless a write may start: refuses a damaged file, and runs the
  // check of a large file before its first write.
  void CheckWritable();

 private:
  friend class TDataSet;
  void AttachDataSet(TDataSet* DataSet);
  void DetachDataSet(TDataSet* DataSet);
  void Configure();
  // PRAGMA integrity_check when Thorough (indexes held against their
  // tables too), otherwise PRAGMA quick_check; marks the file damaged when
  // it finds anything.
  void CheckFile(bool Thorough);
  [[noreturn]] void RaiseDamaged() const;

  AnsiString FDatabaseName;
  bool FReadOnly = false;
  int FBusyTimeout = 2000;
  sqlite3* FDb = nullptr;
  bool FCheckPending = false;
  bool FDamaged = false;
  AnsiString FDamage;  // what SQLite reported
  std::vector<TDataSet*> FDataSets;
};
