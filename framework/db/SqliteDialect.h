#pragma once
// How the data access speaks SQLite: the field type of a declared column
// type, cells read into and bound from field values, and the SQL text the
// data sets run. Names and text go in and out as UTF-8, exactly as SQLite
// gives them; only what users see is converted to Windows-1252.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/db/Field.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/Variant.h"

class TSqlStatement;

// The field type of a declared column type, by SQLite's own affinity rules,
// with booleans and dates recognised first; Size gets the declared length of
// text. Empty when nothing is declared: the data decides.
std::optional<TFieldType> TypeOfDeclaration(std::string_view Declared, int& Size);
// The field type of a value's storage class; empty for null.
std::optional<TFieldType> TypeOfStorage(int StorageClass);

// The cell as a field of type Type holds it. A value that the type cannot
// represent without loss (text in an integer column, a Unix time in a
// TIMESTAMP column, 2 in a BOOLEAN one, an integer beyond a double's
// precision, a time finer than milliseconds) is kept as SQLite stores it.
Variant ReadCell(const TSqlStatement& Stmt, int Column, TFieldType Type);
// Binds a field value converted to the field's type (null binds NULL).
void BindCell(TSqlStatement& Stmt, int Param, TFieldType Type, const Variant& Value);

// "YYYY-MM-DD", optionally followed by " HH:MM[:SS[.fff]]" ("T" also
// separates); empty for anything else, a time finer than milliseconds too.
std::optional<TDateTime> ParseIsoDate(std::string_view Text);
// "YYYY-MM-DD", or with WithTime "YYYY-MM-DD HH:MM:SS" and ".mmm" when there
// are milliseconds.
std::string FormatIsoDate(TDateTime Value, bool WithTime);

// A name as an SQL identifier: "name", inner quotes doubled.
std::string QuoteName(std::string_view Name);
// Tables SQLite keeps for itself (sqlite_master, sqlite_sequence, ...).
bool IsInternalTable(std::string_view Name);

// The SQL of a table data set, the RowId column first.
std::string SelectTableSql(const std::string& Table, const std::string& RowId);
std::string SelectRowSql(const std::string& Table, const std::string& RowId);
// The writes return the rowid written, and no row when the table ignored
// the write. OrAbort overrides the conflict clause the table declares, so
// that a write the table would silently ignore reports its constraint.
std::string InsertSql(const std::string& Table, const std::vector<std::string>& Columns,
                      const std::string& RowId, bool OrAbort);
std::string UpdateSql(const std::string& Table, const std::vector<std::string>& Columns,
                      const std::string& RowId, bool OrAbort);
std::string DeleteSql(const std::string& Table, const std::string& RowId);
std::string SelectRowIdsSql(const std::string& Table, const std::string& RowId);  // in order
// The CREATE statement of the table named by parameter 1.
std::string TableDeclarationSql();

// The statements of a script, as SQLite would split it (semicolons inside
// literals, comments and trigger bodies do not split).
std::vector<std::string_view> SplitScript(std::string_view Sql);
// The first keyword of a statement in capitals, comments skipped.
std::string LeadingKeyword(std::string_view Statement);
