#pragma once
// TLocateIndex: the sorted keys of one field, so that a search for a value or
// a prefix finds the first matching record of a large data set in O(log n).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/AnsiString.h"

// Case folding of Windows-1252 text for searches that ignore case: a byte
// maps to the byte of its Unicode character's lower case, so "È" meets "è"
// and "Š" meets "š". Bytes whose lower case has no code stay as they are.
char FoldCaseAnsi(char C);
AnsiString FoldCaseAnsi(const AnsiString& S);

class TLocateIndex {
 public:
  // Records without a key (null values) are simply not added. Keys compare
  // as unsigned bytes.
  void Add(uint32_t Record, std::string_view Key);
  // Sorts what was added; Find needs it.
  void Build();

  // The lowest record number whose key equals Key, or begins with Key when
  // Prefix is set; -1 when there is none.
  int Find(std::string_view Key, bool Prefix) const;

 private:
  std::string_view KeyAt(size_t Entry) const;
  uint32_t MinRecord(size_t Lo, size_t Hi) const;

  std::string FText;               // every key, one after the other
  std::vector<uint32_t> FStart;    // where each added key starts in FText
  std::vector<uint32_t> FRecord;   // its record number
  std::vector<uint32_t> FOrder;    // entries by (key, record number)
  std::vector<uint32_t> FMinTree;  // lowest record number of each span of FOrder
};
