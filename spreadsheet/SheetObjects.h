#pragma once
// The spreadsheet server's object model as clients see it:
//   Application: Visible (get/put), DefaultFilePath (get/put), Workbooks,
//     ActiveWorkbook, Range(address) on the active sheet of the newest open
//     workbook, Quit()
//   Workbooks: Add() (returns the workbook), Count
//   Workbook: Close([SaveChanges = true])
//   Range: ColumnWidth, HorizontalAlignment (1 right, 2 left, 3 centre),
//     Value, Borders(1 left, 2 right, 3 top, 4 bottom)
//   Border: LineStyle (1 continuous, -4115 dash, -4118 dot, -4119 double,
//     -4142 none)
// Properties of ranges and borders can be written, not read.
#include <memory>

#include "spreadsheet/SheetApplication.h"

std::shared_ptr<IDispatch> NewApplicationObject(std::shared_ptr<TSheetApplication::TLease> Lease);
