#include "framework/db/Fields.h"

#include "framework/db/LocateIndex.h"

bool SameFieldName(const AnsiString& A, const AnsiString& B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i)
    if (FoldCaseAnsi(A[i]) != FoldCaseAnsi(B[i])) return false;
  return true;
}

int TFields::IndexOf(const TField* Field) const {
  for (size_t i = 0; i < FList.size(); ++i)
    if (FList[i].get() == Field) return static_cast<int>(i);
  return -1;
}

TField* TFields::FindField(const AnsiString& FieldName) const {
  // The exact name first: "É" and "é" can be two columns.
  for (const auto& f : FList)
    if (f->FieldName() == FieldName) return f.get();
  for (const auto& f : FList)
    if (SameFieldName(f->FieldName(), FieldName)) return f.get();
  return nullptr;
}

void TFields::Add(std::unique_ptr<TField> Field) { FList.push_back(std::move(Field)); }
