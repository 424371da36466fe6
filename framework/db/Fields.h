#pragma once
// TFields: the fields of one data set, in order, found by name: the exact
// name first, otherwise ignoring case.
#include <memory>
#include <vector>

#include "framework/db/Field.h"

class TFields {
 public:
  int Count() const { return static_cast<int>(FList.size()); }
  TField* Fields(int Index) const { return FList.at(static_cast<size_t>(Index)).get(); }
  TField* operator[](int Index) const { return Fields(Index); }
  int IndexOf(const TField* Field) const;
  // Null when no field has the name.
  TField* FindField(const AnsiString& FieldName) const;

 private:
  friend class TDataSet;
  void Add(std::unique_ptr<TField> Field);

  std::vector<std::unique_ptr<TField>> FList;
};

// Field names compare without case, accented letters included.
bool SameFieldName(const AnsiString& A, const AnsiString& B);
