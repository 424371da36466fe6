#pragma once
// TTransaction: a transaction on a TDatabase for as long as it lives, rolled
// back unless committed. Inside a transaction the application opened, it is
// a savepoint that nests there.
class TDatabase;

class TTransaction {
 public:
  // Immediate takes the write lock at once (BEGIN IMMEDIATE), so that what a
  // write checks first cannot change before it is written; it also refuses
  // to start on a database that may not be written (TDatabase::CheckWritable).
  // Otherwise the statements take their locks as they run.
  explicit TTransaction(TDatabase& Database, bool Immediate = true);
  ~TTransaction();
  TTransaction(const TTransaction&) = delete;
  TTransaction& operator=(const TTransaction&) = delete;

  void Commit();

 private:
  TDatabase& FDatabase;
  bool FOwn;  // BEGIN ... COMMIT rather than a savepoint
  bool FOpen = true;
};
