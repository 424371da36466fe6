#include "spreadsheet/SheetWorkbook.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/ole/Dispatch.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FloatText.h"
#include "spreadsheet/XlsxCheck.h"

bool LineStyleFromCode(int Code, TLineStyle& Style) {
  switch (Code) {
    case 1:
      Style = TLineStyle::Continuous;
      return true;
    case -4142:
      Style = TLineStyle::None;
      return true;
    case -4115:
      Style = TLineStyle::Dash;
      return true;
    case -4118:
      Style = TLineStyle::Dot;
      return true;
    case -4119:
      Style = TLineStyle::Double;
      return true;
  }
  return false;
}

namespace {

// The common shapes ("123", "-45,6", at most 15 digits) read directly; they
// mean the same to StrToFloat, which reads everything else.
bool ReadPlainNumber(const WideString& Text, char Separator, double& Value) {
  char plain[24];
  size_t n = 0, digits = 0, i = 0;
  if (Text.size() > 20) return false;
  if (Text[0] == u'-') plain[n++] = '-';
  if (Text[0] == u'-' || Text[0] == u'+') i = 1;
  bool fraction = false;
  for (; i < Text.size(); ++i) {
    const char16_t c = Text[i];
    if (c >= u'0' && c <= u'9') {
      plain[n++] = static_cast<char>(c);
      ++digits;
    } else if (c == static_cast<unsigned char>(Separator) && !fraction && digits > 0) {
      plain[n++] = '.';
      fraction = true;
    } else {
      return false;
    }
  }
  if (digits == 0 || digits > 15 || plain[n - 1] == '.') return false;
  const auto [end, error] = std::from_chars(plain, plain + n, Value);
  return error == std::errc() && end == plain + n;
}

// Gives From the name To unless a file has it; 0 or the error (EEXIST when
// the name is taken).
int TakeName(const std::string& From, const std::string& To) {
  if (renameat2(AT_FDCWD, From.c_str(), AT_FDCWD, To.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without that flag: a hard link fails on a taken name too.
  if (link(From.c_str(), To.c_str()) == 0) {
    unlink(From.c_str());
    return 0;
  }
  if (errno != EPERM && errno != EOPNOTSUPP) return errno;
  // Nor hard links: look, then rename.
  if (access(To.c_str(), F_OK) == 0) return EEXIST;
  return std::rename(From.c_str(), To.c_str()) == 0 ? 0 : errno;
}

}  // namespace

TCellValue CellValueFromText(const WideString& Text, const TFormatSettings& Settings) {
  TCellValue v;
  if (Text.empty()) return v;
  // Only digits, signs, the separator, an exponent and spaces can make a
  // number, and only with a digit: "." or "-" alone read as zero to
  // StrToFloat but are no number in a cell.
  const char16_t separator = static_cast<unsigned char>(Settings.DecimalSeparator);
  bool digit = false, other = false;
  for (char16_t c : Text) {
    const bool is_digit = c >= u'0' && c <= u'9';
    digit = digit || is_digit;
    other = other || !(is_digit || c == u'+' || c == u'-' || c == u'e' || c == u'E' || c == u' ' ||
                       c == separator);
  }
  if (digit && !other) {
    if (ReadPlainNumber(Text, Settings.DecimalSeparator, v.Num)) {
      v.Kind = TCellValue::Number;
      return v;
    }
    long double number;
    if (TryStrToFloat(WideToAnsi(Text), number, Settings) &&
        std::isfinite(static_cast<double>(number))) {
      v.Kind = TCellValue::Number;
      v.Num = static_cast<double>(number);
      return v;
    }
  }
  // Written as a string cell: libxlsxwriter stores it as text, never as a formula.
  v.Kind = TCellValue::Text;
  v.Utf8 = WideToUtf8(Text);
  return v;
}

TSheetWorkbook::TSheetWorkbook(const std::filesystem::path& Folder) : FFolder(Folder) {
  std::string pattern = (Folder / ".workbook-XXXXXX.part").string();
  const int fd = mkstemps(pattern.data(), 5);
  if (fd < 0) Fail("Cannot create a workbook in " + Folder.string(), errno);
  close(fd);
  FTempPath = pattern;
  FTempDir = Folder.string();

  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = FTempDir.data();
  errno = 0;
  FBook = workbook_new_opt(FTempPath.c_str(), &options);
  if (FBook) FSheet = workbook_add_worksheet(FBook, nullptr);
  if (!FSheet) {
    const int error = errno;
    Discard();
    Fail("Cannot create a workbook in " + Folder.string(), error);
  }
}

TSheetWorkbook::~TSheetWorkbook() { Discard(); }

void TSheetWorkbook::Fail(const std::string& What, int Error) const {
  std::string message = What;
  if (Error) message += std::string(": ") + std::strerror(Error);
  throw EOleSysError(Utf8ToAnsi(message), DISP_E_EXCEPTION);
}

void TSheetWorkbook::CheckOpen() const {
  if (!IsOpen()) throw EOleSysError("The workbook has been closed", DISP_E_EXCEPTION);
}

void TSheetWorkbook::CheckCells(const TRangeAddress& Cells) const {
  CheckOpen();
  if (Cells.WholeColumns)
    throw EOleSysError("This is set on cells, not on whole columns", DISP_E_EXCEPTION);
  if (Cells.CellCount() > kMaxCellsPerRequest)
    throw EOleSysError("Too many cells in one request", DISP_E_EXCEPTION);
  if (Cells.FirstRow <= FWrittenThrough)
    throw EOleSysError("Row " + IntToStr(Cells.FirstRow + 1) +
                           " is already in the file: rows are written in order",
                       DISP_E_EXCEPTION);
}

void TSheetWorkbook::SetColumnWidth(int First, int Last, double Width) {
  CheckOpen();
  if (!(Width >= 0 && Width <= 255))
    throw EOleSysError("A column width lies between 0 and 255", DISP_E_EXCEPTION);
  for (int c = First; c <= Last; ++c) FColumns[c].Width = Width;
}

void TSheetWorkbook::SetColumnAlignment(int First, int Last, THorzAlign Align) {
  CheckOpen();
  for (int c = First; c <= Last; ++c) FColumns[c].Align = Align;
}

template <typename TChange>
void TSheetWorkbook::ForEachCell(const TRangeAddress& Cells, TChange Change) {
  CheckCells(Cells);
  for (int r = Cells.FirstRow; r <= Cells.LastRow; ++r) {
    std::vector<TCell>& row = FPending[r];
    if (row.size() <= static_cast<size_t>(Cells.LastCol)) row.resize(Cells.LastCol + 1);
    for (int c = Cells.FirstCol; c <= Cells.LastCol; ++c) {
      TCell& cell = row[c];
      if (cell.Kind == TCell::Unused) cell.Kind = TCell::Blank;
      Change(cell);
    }
    WriteOldestRows(kPendingRows);
  }
}

void TSheetWorkbook::SetAlignment(const TRangeAddress& Cells, THorzAlign Align) {
  ForEachCell(Cells, [&](TCell& cell) { cell.Align = Align; });
}

void TSheetWorkbook::SetBorder(const TRangeAddress& Cells, TCellEdge Edge, TLineStyle Style) {
  ForEachCell(Cells, [&](TCell& cell) { cell.Edges[Edge] = Style; });
}

void TSheetWorkbook::SetValue(const TRangeAddress& Cells, TCellValue Value) {
  static_assert(TCell::Blank == TCellValue::Blank + 1 && TCell::Boolean == TCellValue::Boolean + 1);
  const long long count = Cells.CellCount();
  long long written = 0;
  ForEachCell(Cells, [&](TCell& cell) {
    cell.Kind = static_cast<TCell::TKind>(Value.Kind + 1);
    cell.Num = Value.Num;
    if (++written == count)
      cell.Utf8 = std::move(Value.Utf8);
    else
      cell.Utf8 = Value.Utf8;
  });
}

lxw_format* TSheetWorkbook::Format(THorzAlign Align, const std::array<TLineStyle, 4>& Edges) {
  uint32_t key = static_cast<uint32_t>(Align);
  for (TLineStyle e : Edges) key = key << 3 | static_cast<uint32_t>(e);
  if (key == 0) return nullptr;
  lxw_format*& format = FFormats[key];
  if (format) return format;
  format = workbook_add_format(FBook);
  if (!format) throw EOleSysError("Out of memory", DISP_E_EXCEPTION);
  static constexpr uint8_t kAlign[] = {LXW_ALIGN_NONE, LXW_ALIGN_RIGHT, LXW_ALIGN_LEFT,
                                       LXW_ALIGN_CENTER};
  static constexpr uint8_t kLine[] = {LXW_BORDER_NONE, LXW_BORDER_THIN, LXW_BORDER_DASHED,
                                      LXW_BORDER_DOTTED, LXW_BORDER_DOUBLE};
  if (Align != THorzAlign::Default) format_set_align(format, kAlign[static_cast<int>(Align)]);
  format_set_left(format, kLine[static_cast<int>(Edges[ceLeft])]);
  format_set_right(format, kLine[static_cast<int>(Edges[ceRight])]);
  format_set_top(format, kLine[static_cast<int>(Edges[ceTop])]);
  format_set_bottom(format, kLine[static_cast<int>(Edges[ceBottom])]);
  return format;
}

void TSheetWorkbook::WriteRow(int Row, const std::vector<TCell>& Cells) {
  for (size_t c = 0; c < Cells.size(); ++c) {
    const TCell& cell = Cells[c];
    if (cell.Kind == TCell::Unused) continue;
    // A cell of its own alignment keeps it; the others take their column's now.
    THorzAlign align = cell.Align;
    if (align == THorzAlign::Default) {
      const auto column = FColumns.find(static_cast<int>(c));
      if (column != FColumns.end()) align = column->second.Align;
    }
    lxw_format* format = Format(align, cell.Edges);
    const auto col = static_cast<lxw_col_t>(c);
    lxw_error rc = LXW_NO_ERROR;
    switch (cell.Kind) {
      case TCell::Number:
        rc = worksheet_write_number(FSheet, Row, col, cell.Num, format);
        break;
      case TCell::Text:
        rc = worksheet_write_string(FSheet, Row, col, cell.Utf8.c_str(), format);
        break;
      case TCell::Boolean:
        rc = worksheet_write_boolean(FSheet, Row, col, cell.Num != 0, format);
        break;
      default:
        if (format) rc = worksheet_write_blank(FSheet, Row, col, format);
        break;
    }
    if (rc != LXW_NO_ERROR)
      throw EOleSysError(AnsiString("Cannot write a cell: ") + lxw_strerror(rc), DISP_E_EXCEPTION);
  }
}

void TSheetWorkbook::WriteOldestRows(size_t Keep) {
  while (FPending.size() > Keep) {
    const auto oldest = FPending.begin();
    FWrittenThrough = oldest->first;
    const std::vector<TCell> cells = std::move(oldest->second);
    FPending.erase(oldest);
    WriteRow(FWrittenThrough, cells);
  }
}

std::filesystem::path TSheetWorkbook::Save(const std::string& BaseName) {
  CheckOpen();
  try {
    WriteOldestRows(0);
    for (const auto& [c, column] : FColumns) {
      const double width = column.Width >= 0 ? column.Width : LXW_DEF_COL_WIDTH;
      lxw_format* format = Format(column.Align, {});
      worksheet_set_column(FSheet, c, c, width, format);
    }
    // libxlsxwriter does not check its writes to its temporary files: a full
    // disk shows up in the error flag of the sheet data stream, and the
    // copies it makes while closing need room that is checked beforehand.
    FILE* sheet_data = FSheet->optimize_tmpfile;
    uint64_t sheet_bytes = 0;
    if (sheet_data) {
      if (std::fflush(sheet_data) != 0 || std::ferror(sheet_data))
        Fail("Cannot write the workbook to " + FFolder.string(), errno);
      sheet_bytes = static_cast<uint64_t>(std::max(0L, std::ftell(sheet_data)));
    }
    CheckRoom(sheet_bytes);

    errno = 0;
    const lxw_error rc = workbook_close(FBook);
    const int close_error = errno;
    FBook = nullptr;
    FSheet = nullptr;
    if (rc != LXW_NO_ERROR)
      Fail("Cannot write the workbook to " + FFolder.string() + " (" + lxw_strerror(rc) + ")",
           close_error);

    std::string problem;
    if (!XlsxComplete(FTempPath, sheet_bytes, problem))
      Fail("Cannot write the workbook to " + FFolder.string() + ": the file came out incomplete (" +
               problem + ")",
           0);

    // On disk before it gets its name, so no crash can leave it half there.
    const int fd = open(FTempPath.c_str(), O_RDONLY);
    if (fd < 0 || fsync(fd) != 0) {
      const int error = errno;
      if (fd >= 0) close(fd);
      Fail("Cannot write the workbook to " + FFolder.string(), error);
    }
    close(fd);

    for (int n = 1; n < 1000; ++n) {
      const std::string name =
          BaseName + (n > 1 ? " (" + std::to_string(n) + ")" : std::string()) + ".xlsx";
      const std::string target = (FFolder / name).string();
      const int error = TakeName(FTempPath, target);
      if (error == 0) {
        FTempPath.clear();
        return target;
      }
      if (error != EEXIST) Fail("Cannot name the workbook " + target, error);
    }
    Fail("No free name for the workbook in " + FFolder.string(), EEXIST);
  } catch (...) {
    Discard();
    throw;
  }
}

void TSheetWorkbook::CheckRoom(uint64_t SheetBytes) const {
  // While closing, the sheet is copied once more next to its data, then
  // compressed into the file: twice the data and a margin covers both.
  constexpr uint64_t kMargin = 1 << 20;
  struct statvfs fs;
  if (statvfs(FFolder.c_str(), &fs) == 0 &&
      static_cast<uint64_t>(fs.f_bavail) * fs.f_frsize < 2 * SheetBytes + kMargin)
    Fail("Not enough room in " + FFolder.string() + " to write the workbook", ENOSPC);
  rlimit limit;
  if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      limit.rlim_cur < SheetBytes + kMargin)
    Fail("Cannot write the workbook to " + FFolder.string(), EFBIG);
}

void TSheetWorkbook::Discard() {
  if (FBook) lxw_workbook_free(FBook);
  FBook = nullptr;
  FSheet = nullptr;
  FPending.clear();
  if (!FTempPath.empty()) unlink(FTempPath.c_str());
  FTempPath.clear();
}
