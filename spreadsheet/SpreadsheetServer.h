#pragma once
// The in-process spreadsheet server, registered under "Excel.Application".
// Workbooks are written as .xlsx files into the export folder: the system's
// temporary folder unless the program sets another.
#include <filesystem>

inline constexpr const char* kSpreadsheetProgID = "Excel.Application";

// Installs the server for the program's lifetime; later calls do nothing.
// It is the default class of its identifier: a server a test registers
// under the same identifier is used instead, before or after this call.
void RegisterSpreadsheetServer();

std::filesystem::path SpreadsheetFolder();
// Taken by instances started afterwards; an empty path restores the default.
void SetSpreadsheetFolder(const std::filesystem::path& Folder);
