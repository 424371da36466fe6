#include "spreadsheet/SpreadsheetServer.h"

#include "framework/ole/OleRegistration.h"
#include "spreadsheet/SheetApplication.h"

namespace {

std::filesystem::path& ConfiguredFolder() {
  static std::filesystem::path folder;
  return folder;
}

}  // namespace

void RegisterSpreadsheetServer() {
  // Never revoked; a server registered for a test takes precedence over it.
  static const TOleCookie cookie = RegisterDefaultOleClass(kSpreadsheetProgID, [] {
    return TSheetApplication::Start(kSpreadsheetProgID, SpreadsheetFolder());
  });
  (void)cookie;
}

std::filesystem::path SpreadsheetFolder() {
  if (!ConfiguredFolder().empty()) return ConfiguredFolder();
  std::error_code ec;
  const auto temp = std::filesystem::temp_directory_path(ec);
  return ec ? std::filesystem::path("/tmp") : temp;
}

void SetSpreadsheetFolder(const std::filesystem::path& Folder) { ConfiguredFolder() = Folder; }
