#pragma once
// A check of a written .xlsx file. libxlsxwriter does not check its writes to
// the temporary files it assembles the parts in, so a disk that fills up
// while the file is written can yield a sound archive holding cut XML, with
// the gap in the middle of the sheet. Reading each part back finds that.
#include <cstdint>
#include <string>

// True when every XML part of the archive inflates completely and ends with
// the closing tag of its root element, and the sheet part holds at least the
// SheetDataBytes of row data it was built from; otherwise Problem says what
// is wrong.
bool XlsxComplete(const std::string& Path, uint64_t SheetDataBytes, std::string& Problem);
