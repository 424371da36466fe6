#pragma once
// One workbook of the spreadsheet server: a single sheet streamed to an
// .xlsx file. Rows go to the file in order as the client moves on, so memory
// holds only the rows not yet written (at most kPendingRows of them); a write
// to a row already in the file is refused. The file is produced under a
// hidden temporary name in its folder and renamed only once complete, so a
// failed write never leaves a file under the final name.
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/ole/WideString.h"
#include "framework/rtl/FormatSettings.h"
#include "spreadsheet/RangeAddress.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// The codes clients send for HorizontalAlignment.
enum class THorzAlign : uint8_t { Default = 0, Right = 1, Left = 2, Center = 3 };

// Line styles by the values clients send for LineStyle.
enum class TLineStyle : uint8_t { None, Continuous, Dash, Dot, Double };
bool LineStyleFromCode(int Code, TLineStyle& Style);

// The four edges a border index 1 to 4 selects.
enum TCellEdge { ceLeft, ceRight, ceTop, ceBottom };

struct TCellValue {
  enum TKind : uint8_t { Blank, Number, Text, Boolean } Kind = Blank;
  double Num = 0;
  std::string Utf8;
};

// A cell text under the regional settings: a number when the whole text reads
// as one (at least one digit, finite), else the text itself. A text that
// looks like a formula ("=...", "@...") stays text; no text ever becomes one.
TCellValue CellValueFromText(const WideString& Text, const TFormatSettings& Settings);

class TSheetWorkbook {
 public:
  static constexpr int kPendingRows = 64;
  static constexpr long long kMaxCellsPerRequest = 1 << 20;

  // Reserves its temporary file in Folder; EOleSysError when the folder
  // cannot take it.
  explicit TSheetWorkbook(const std::filesystem::path& Folder);
  ~TSheetWorkbook();  // discards a workbook still open
  TSheetWorkbook(const TSheetWorkbook&) = delete;
  TSheetWorkbook& operator=(const TSheetWorkbook&) = delete;

  bool IsOpen() const { return FBook != nullptr; }
  const std::filesystem::path& Folder() const { return FFolder; }

  // Whole columns First to Last. Widths count characters.
  void SetColumnWidth(int First, int Last, double Width);
  void SetColumnAlignment(int First, int Last, THorzAlign Align);
  // Cells; EOleSysError for whole columns, for too many cells, and for a
  // row already in the file.
  void SetAlignment(const TRangeAddress& Cells, THorzAlign Align);
  void SetBorder(const TRangeAddress& Cells, TCellEdge Edge, TLineStyle Style);
  void SetValue(const TRangeAddress& Cells, TCellValue Value);

  // Writes the file as "<BaseName>.xlsx" in the folder, or "<BaseName> (2).xlsx"
  // and so on when that name is taken, and returns its path. The workbook is
  // closed afterwards whatever happened; on failure (EOleSysError) nothing is
  // left under any final name.
  std::filesystem::path Save(const std::string& BaseName);
  // Closes the workbook and drops what was written so far.
  void Discard();

 private:
  struct TCell {
    enum TKind : uint8_t { Unused, Blank, Number, Text, Boolean } Kind = Unused;
    THorzAlign Align = THorzAlign::Default;
    std::array<TLineStyle, 4> Edges{};
    double Num = 0;
    std::string Utf8;
  };
  struct TColumn {
    double Width = -1;  // -1: the default width
    THorzAlign Align = THorzAlign::Default;
  };

  void CheckOpen() const;
  void CheckCells(const TRangeAddress& Cells) const;
  template <typename TChange>
  void ForEachCell(const TRangeAddress& Cells, TChange Change);
  void WriteRow(int Row, const std::vector<TCell>& Cells);
  void WriteOldestRows(size_t Keep);
  lxw_format* Format(THorzAlign Align, const std::array<TLineStyle, 4>& Edges);
  void CheckRoom(uint64_t SheetBytes) const;
  [[noreturn]] void Fail(const std::string& What, int Error) const;

  std::filesystem::path FFolder;
  std::string FTempPath;
  std::string FTempDir;  // libxlsxwriter keeps the sheet data here until the file is written
  lxw_workbook* FBook = nullptr;
  lxw_worksheet* FSheet = nullptr;
  std::map<int, std::vector<TCell>> FPending;
  int FWrittenThrough = -1;  // every row up to this one is in the file
  std::map<int, TColumn> FColumns;
  std::unordered_map<uint32_t, lxw_format*> FFormats;
};
