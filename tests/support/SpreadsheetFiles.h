#pragma once
// Workbook files in tests: a private export folder for the spreadsheet
// server, and two independent readers of what was written (openpyxl and a
// headless LibreOffice), so a test sees the file as a peer program does.
// Header-only: only test programs that link the spreadsheet server use it.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "framework/ole/OleAuto.h"
#include "framework/rtl/Exceptions.h"
#include "spreadsheet/SpreadsheetServer.h"

// A fresh folder that the server writes into for the object's lifetime.
// Instances still running at the end are told to quit, so none outlives
// its folder into the next test.
class TSpreadsheetFolder {
 public:
  TSpreadsheetFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "astrevo-xlsx-XXXXXX").string();
    Path = mkdtemp(pattern.data());
    FPrevious = SpreadsheetFolder();
    SetSpreadsheetFolder(Path);
    RegisterSpreadsheetServer();
  }
  ~TSpreadsheetFolder() {
    for (;;) {
      try {
        OleProcedure(GetActiveOleObject(kSpreadsheetProgID), "Quit");
      } catch (const EOleSysError&) {
        break;
      }
    }
    SetSpreadsheetFolder(FPrevious);
    std::error_code ec;
    std::filesystem::remove_all(Path, ec);
  }
  // Every name in the folder, hidden ones included.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(Path))
      names.push_back(e.path().filename().string());
    return names;
  }

  std::filesystem::path Path;

 private:
  std::filesystem::path FPrevious;
};

// The output of Command, or nothing when it could not run or failed.
inline std::optional<std::string> CommandOutput(const std::string& Command) {
  FILE* pipe = popen(Command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  return pclose(pipe) == 0 ? std::optional(out) : std::nullopt;
}

// One line per cell as openpyxl reads it, "A1|s|text|center|thin,thin,thin,thin"
// (type n number, s text, b boolean, f formula; alignment and the left, right,
// top, bottom borders, "-" for none), then "col A|width|alignment" per column.
inline std::optional<std::vector<std::string>> OpenpyxlCells(const std::filesystem::path& File) {
  static const char* kScript = R"(
import sys, openpyxl
from openpyxl.utils import get_column_letter
ws = openpyxl.load_workbook(sys.argv[1]).active
def side(s): return s.style or '-'
for row in ws.iter_rows():
    for c in row:
        if c.value is None and not c.has_style: continue
        b = c.border
        print('%s|%s|%s|%s|%s' % (c.coordinate, c.data_type, c.value,
              c.alignment.horizontal or '-',
              ','.join(side(x) for x in (b.left, b.right, b.top, b.bottom))))
for key, d in sorted(ws.column_dimensions.items()):
    print('col %s|%s|%s' % (key, d.width, d.alignment.horizontal or '-'))
)";
  const auto script = std::filesystem::temp_directory_path() /
                      ("astrevo-openpyxl-" + std::to_string(getpid()) + ".py");
  std::ofstream(script) << kScript;
  // The system's Python: python3-openpyxl is a Debian package.
  const auto out =
      CommandOutput("/usr/bin/python3 " + script.string() + " '" + File.string() + "' 2>/dev/null");
  std::filesystem::remove(script);
  if (!out) return std::nullopt;
  std::vector<std::string> lines;
  size_t start = 0, end;
  while ((end = out->find('\n', start)) != std::string::npos) {
    lines.push_back(out->substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

// Whether a headless LibreOffice can run here at all.
inline bool LibreOfficeRuns() {
  return CommandOutput("timeout 60 soffice --headless --version 2>/dev/null").has_value();
}

// The sheet as CSV (comma, double quotes, UTF-8) through a headless
// LibreOffice; nothing when it could not convert the file.
inline std::optional<std::string> LibreOfficeCsv(const std::filesystem::path& File) {
  const auto out =
      std::filesystem::temp_directory_path() / ("astrevo-soffice-" + std::to_string(getpid()));
  std::filesystem::create_directories(out);
  // A private profile, so test programs running at once do not clash.
  const std::string command =
      "LC_ALL=C.UTF-8 timeout 120 soffice --headless --norestore "
      "-env:UserInstallation=file://" +
      (out / "profile").string() +
      " --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' --outdir " + out.string() + " '" +
      File.string() + "' >/dev/null 2>&1";
  std::optional<std::string> csv;
  if (CommandOutput(command)) {
    std::ifstream in(out / (File.stem().string() + ".csv"));
    if (in) csv = std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::error_code ec;
  std::filesystem::remove_all(out, ec);
  return csv;
}
