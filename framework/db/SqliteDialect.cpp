#include "framework/db/SqliteDialect.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

#include "framework/db/SqlStatement.h"
#include "framework/rtl/CodePage.h"

namespace {

bool IsDigit(char C) { return C >= '0' && C <= '9'; }

// Fixed-width decimal digits at S[Pos...]; false when any is missing.
bool Digits(std::string_view S, size_t Pos, size_t Count, int& Value) {
  if (Pos + Count > S.size()) return false;
  Value = 0;
  for (size_t i = Pos; i < Pos + Count; ++i) {
    if (!IsDigit(S[i])) return false;
    Value = Value * 10 + (S[i] - '0');
  }
  return true;
}

}  // namespace

std::optional<TFieldType> TypeOfDeclaration(std::string_view Declared, int& Size) {
  Size = 0;
  if (Declared.empty()) return std::nullopt;
  const std::string t = UpperCaseAscii(std::string(Declared));
  const auto has = [&](const char* s) { return t.find(s) != std::string::npos; };
  if (has("BOOL")) return ftBoolean;
  if (has("DATETIME") || has("TIMESTAMP")) return ftDateTime;
  if (has("DATE")) return ftDate;
  if (has("INT")) return ftInteger;
  if (has("CHAR") || has("CLOB") || has("TEXT")) {
    const size_t open = t.find('(');
    if (open != std::string::npos) Size = std::atoi(t.c_str() + open + 1);
    return ftString;
  }
  if (has("BLOB")) return ftBlob;
  return ftFloat;  // REAL, FLOAT, DOUBLE, NUMERIC, DECIMAL and the rest
}

std::optional<TFieldType> TypeOfStorage(int StorageClass) {
  switch (StorageClass) {
    case SQLITE_INTEGER:
      return ftInteger;
    case SQLITE_FLOAT:
      return ftFloat;
    case SQLITE_TEXT:
      return ftString;
    case SQLITE_BLOB:
      return ftBlob;
    default:
      return std::nullopt;
  }
}

std::optional<TDateTime> ParseIsoDate(std::string_view S) {
  int y, mo, d;
  if (!Digits(S, 0, 4, y) || S.size() < 10 || S[4] != '-' || !Digits(S, 5, 2, mo) || S[7] != '-' ||
      !Digits(S, 8, 2, d))
    return std::nullopt;
  TDateTime date;
  if (!TryEncodeDate(y, mo, d, date)) return std::nullopt;
  if (S.size() == 10) return date;
  int h, mi, sec = 0, ms = 0;
  if ((S[10] != ' ' && S[10] != 'T') || !Digits(S, 11, 2, h) || S.size() < 16 || S[13] != ':' ||
      !Digits(S, 14, 2, mi))
    return std::nullopt;
  size_t pos = 16;
  if (pos < S.size() && S[pos] == ':') {
    if (!Digits(S, pos + 1, 2, sec)) return std::nullopt;
    pos += 3;
    if (pos < S.size() && S[pos] == '.') {
      size_t end = pos + 1;
      while (end < S.size() && IsDigit(S[end])) ++end;
      if (end == pos + 1) return std::nullopt;
      for (size_t i = pos + 1; i < end; ++i) {
        const size_t place = i - pos;  // 1 for tenths
        if (place <= 3)
          ms += (S[i] - '0') * (place == 1 ? 100 : place == 2 ? 10 : 1);
        else if (S[i] != '0')
          return std::nullopt;  // finer than a TDateTime keeps: shown as stored
      }
      pos = end;
    }
  }
  if (pos != S.size() || h > 23 || mi > 59 || sec > 59) return std::nullopt;
  const double time = (h * 3600.0 + mi * 60.0 + sec + ms / 1000.0) / 86400.0;
  return date >= 0 ? date + time : date - time;
}

std::string FormatIsoDate(TDateTime Value, bool WithTime) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(Value, y, mo, d);
  DecodeTime(Value, h, mi, s, ms);
  char buf[40];
  if (!WithTime)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, mo, d);
  else if (ms)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", y, mo, d, h, mi, s, ms);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
  return buf;
}

Variant ReadCell(const TSqlStatement& Stmt, int Column, TFieldType Type) {
  const int storage = Stmt.ColumnType(Column);
  switch (storage) {
    case SQLITE_NULL:
      return Variant::Null();
    case SQLITE_INTEGER: {
      const int64_t v = Stmt.ColumnInt64(Column);
      switch (Type) {
        case ftInteger:
          if (v >= INT32_MIN && v <= INT32_MAX) return static_cast<int>(v);
          return static_cast<long long>(v);
        case ftFloat:
          // Beyond 2^53 a double would round the integer.
          if (v >= -(int64_t{1} << 53) && v <= (int64_t{1} << 53)) return static_cast<double>(v);
          break;
        case ftBoolean:
          if (v == 0 || v == 1) return v == 1;
          break;
        case ftString:
          return Utf8ToAnsi(Stmt.ColumnText(Column));
        default:
          break;
      }
      return static_cast<long long>(v);
    }
    case SQLITE_FLOAT:
      if (Type == ftString) return Utf8ToAnsi(Stmt.ColumnText(Column));
      return Stmt.ColumnDouble(Column);
    case SQLITE_BLOB:
      if (Type == ftBlob) return AnsiString(Stmt.ColumnBlob(Column));
      return Utf8ToAnsi(Stmt.ColumnText(Column));
    default:  // SQLITE_TEXT
      if (Type == ftBlob) return AnsiString(Stmt.ColumnText(Column));
      if (Type == ftDate || Type == ftDateTime) {
        if (auto d = ParseIsoDate(Stmt.ColumnText(Column))) return Variant::FromDate(*d);
      }
      return Utf8ToAnsi(Stmt.ColumnText(Column));
  }
}

void BindCell(TSqlStatement& Stmt, int Param, TFieldType Type, const Variant& V) {
  if (V.IsEmptyOrNull()) return Stmt.BindNull(Param);
  switch (Type) {
    case ftString:
      return Stmt.BindText(Param, AnsiToUtf8(V.AsString()));
    case ftBlob:
      return Stmt.BindBlob(Param, V.AsString());
    case ftInteger:
      return Stmt.BindInt64(Param, V.AsInt64());
    case ftFloat:
      return Stmt.BindDouble(Param, V.AsDouble());
    case ftBoolean:
      return Stmt.BindInt64(Param, V.AsBoolean() ? 1 : 0);
    case ftDate:
      return Stmt.BindText(Param, FormatIsoDate(V.AsDate(), false));
    case ftDateTime:
      return Stmt.BindText(Param, FormatIsoDate(V.AsDate(), true));
  }
}

std::string QuoteName(std::string_view Name) {
  std::string q = "\"";
  for (char c : Name) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

bool IsInternalTable(std::string_view Name) {
  return Name.size() >= 7 && UpperCaseAscii(std::string(Name.substr(0, 7))) == "SQLITE_";
}

std::string SelectTableSql(const std::string& Table, const std::string& RowId) {
  return "SELECT " + (RowId.empty() ? std::string() : RowId + ", ") + "* FROM " + QuoteName(Table);
}

std::string SelectRowSql(const std::string& Table, const std::string& RowId) {
  return SelectTableSql(Table, RowId) + " WHERE " + RowId + " = ?";
}

std::string InsertSql(const std::string& Table, const std::vector<std::string>& Columns,
                      const std::string& RowId, bool OrAbort) {
  std::string sql =
      std::string(OrAbort ? "INSERT OR ABORT INTO " : "INSERT INTO ") + QuoteName(Table);
  if (Columns.empty()) {
    sql += " DEFAULT VALUES";
  } else {
    std::string names, params;
    for (const std::string& c : Columns) {
      names += (names.empty() ? "" : ", ") + QuoteName(c);
      params += params.empty() ? "?" : ", ?";
    }
    sql += " (" + names + ") VALUES (" + params + ")";
  }
  return sql + " RETURNING " + RowId;
}

std::string UpdateSql(const std::string& Table, const std::vector<std::string>& Columns,
                      const std::string& RowId, bool OrAbort) {
  std::string sets;
  for (const std::string& c : Columns) sets += (sets.empty() ? "" : ", ") + QuoteName(c) + " = ?";
  return std::string(OrAbort ? "UPDATE OR ABORT " : "UPDATE ") + QuoteName(Table) + " SET " + sets +
         " WHERE " + RowId + " = ? RETURNING " + RowId + ", *";
}

std::string DeleteSql(const std::string& Table, const std::string& RowId) {
  return "DELETE FROM " + QuoteName(Table) + " WHERE " + RowId + " = ?";
}

std::string SelectRowIdsSql(const std::string& Table, const std::string& RowId) {
  return "SELECT " + RowId + " FROM " + QuoteName(Table) + " ORDER BY 1";
}

std::string TableDeclarationSql() {
  return "SELECT sql FROM sqlite_schema WHERE type = 'table' AND name = ?1 COLLATE NOCASE "
         "UNION ALL SELECT sql FROM sqlite_temp_schema WHERE type = 'table' AND name = ?1 "
         "COLLATE NOCASE";
}

std::vector<std::string_view> SplitScript(std::string_view Sql) {
  std::vector<std::string_view> statements;
  size_t start = 0;
  for (size_t semi = Sql.find(';'); semi != std::string_view::npos;
       semi = Sql.find(';', semi + 1)) {
    const std::string candidate(Sql.substr(start, semi + 1 - start));
    if (!sqlite3_complete(candidate.c_str())) continue;
    statements.push_back(Sql.substr(start, semi + 1 - start));
    start = semi + 1;
  }
  if (start < Sql.size()) statements.push_back(Sql.substr(start));
  return statements;
}

std::string LeadingKeyword(std::string_view S) {
  size_t i = 0;
  while (i < S.size()) {
    if (S[i] == ' ' || S[i] == '\t' || S[i] == '\n' || S[i] == '\r' || S[i] == '\f') {
      ++i;
    } else if (S.substr(i, 2) == "--") {
      i = S.find('\n', i);
    } else if (S.substr(i, 2) == "/*") {
      i = S.find("*/", i + 2);
      if (i != std::string_view::npos) i += 2;
    } else {
      break;
    }
  }
  std::string word;
  for (; i < S.size(); ++i) {
    const char c = S[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) break;
    word += UpCaseAscii(c);
  }
  return word;
}
