#pragma once
// Cell addresses as clients send them: "B7", "B7:D9", whole columns "A:C";
// "$" markers and small letters are accepted. Rows and columns count from 0.
#include "framework/ole/WideString.h"

constexpr int kSheetColumns = 16384;  // A to XFD
constexpr int kSheetRows = 1048576;

struct TRangeAddress {
  int FirstCol = 0;
  int LastCol = 0;
  int FirstRow = 0;  // rows are unused for whole columns
  int LastRow = 0;
  bool WholeColumns = false;

  long long CellCount() const {
    return static_cast<long long>(LastCol - FirstCol + 1) * (LastRow - FirstRow + 1);
  }
};

// Corners may come in any order. Throws EOleSysError for anything else,
// or for a place beyond the sheet.
TRangeAddress ParseRangeAddress(const WideString& Text);
