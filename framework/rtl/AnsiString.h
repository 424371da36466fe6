#pragma once
// The library's 8-bit text: Windows-1252 bytes in a std::string, with the
// 1-based helpers the controls were written against.
#include <string>

using AnsiString = std::string;

// 1-based position of Sub in S, 0 when absent (or when Sub is empty).
int Pos(const AnsiString& Sub, const AnsiString& S);

// Count characters from the 1-based Index; a start beyond the end gives "".
AnsiString SubString(const AnsiString& S, int Index, int Count);

// ASCII-only case changes: accented letters keep their case.
char UpCaseAscii(char C);
char LowCaseAscii(char C);
AnsiString UpperCaseAscii(AnsiString S);
AnsiString LowerCaseAscii(AnsiString S);

inline bool IsDigitChar(char C) { return C >= '0' && C <= '9'; }
