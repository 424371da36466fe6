#pragma once
// The character filters shared by every input control: the capitalisation
// filters, the date-typing rule and the keys the number filters admit. Pure
// text operations, so the controls stay thin and the rules are tested without
// widgets.
#include <array>
#include <span>
#include <string_view>

#include "framework/rtl/AnsiString.h"

// What a control does with typed characters and with its text as a whole.
enum CharFilterType : unsigned char {
  chDefault,
  chFirstCap,
  chFirstCapCong,
  chOneCap,
  chAllCaps,
  chDate,
  chNumber,
  chDecimal,
  chEMail
};

// The century the date-typing rule writes after the second separator.
enum DateAgeType : unsigned char { dtCurrent, dtNone, dt1900, dt2000 };

// Italian articles, prepositions and conjunctions that FirstCapCongFilter keeps
// small. Small ASCII letters, in alphabetical order, hence grouped by first letter.
inline constexpr std::array<std::string_view, 55> CongWords = {
    "a",    "agli",  "ai",    "al",    "all",   "alla",  "alle",  "allo",  "con", "d",
    "da",   "dai",   "dal",   "dall",  "dalla", "dalle", "dallo", "degli", "dei", "del",
    "dell", "della", "delle", "dello", "di",    "e",     "ed",    "fra",   "fu",  "gli",
    "i",    "il",    "in",    "l",     "la",    "le",    "lo",    "ma",    "ne",  "nei",
    "nel",  "nell",  "nella", "nelle", "nello", "pe",    "per",   "su",    "sui", "sul",
    "sull", "sulla", "sulle", "sullo", "tra"};

// The group of CongWords beginning with First (small or capital ASCII letter);
// empty for any other character.
std::span<const std::string_view> CongWordsStartingWith(char First);

// Whether Word equals one of CongWords when ASCII case is ignored.
bool IsCongWord(std::string_view Word);

// Holds no data: every method depends only on its arguments, the date separator
// and the clock. Each input control owns one.
class TStringCaps {
 public:
  // The text after the filter that Filter names; unchanged for the filters
  // that only act on typed keys or on leaving the control.
  AnsiString Filter(const AnsiString& Text, CharFilterType Filter);
  // Capital initials, small letters inside words.
  AnsiString FirstCapFilter(const AnsiString& Text);
  // FirstCapFilter, then CongWords after the first word in small letters.
  AnsiString FirstCapCongFilter(const AnsiString& Text);
  // The first character raised, nothing else.
  AnsiString OneCapFilter(const AnsiString& Text);
  // Every ASCII letter raised.
  AnsiString AllCapsFilter(const AnsiString& Text);

  // Checks Key typed into a date field holding Text (terminated; the buffer
  // must have room for four more characters and the terminator) with the
  // selection SelStart..SelEnd. Returns 0 when the key is refused (the beep
  // has sounded), 1 when Text now holds a completed date and SelStart and
  // SelEnd its length, otherwise Key itself, to be inserted as typed. Text and
  // the selection change only on 1.
  char CharDateProcess(char Key, char* Text, int& SelStart, int& SelEnd, DateAgeType DateAge);
};

// Whether a field with Filter lets Key through: chNumber admits digits and
// Backspace, Tab, Enter and Escape, chDecimal also DecimalSeparator; the
// other filters admit every character here.
bool NumberFilterAdmits(char Key, CharFilterType Filter, char DecimalSeparator);

// Runs CharDateProcess on a working copy big enough for Text, four more
// characters and the terminator, whatever Text's length. Returns its result;
// on 1, NewText, NewSelStart and NewSelEnd hold the completed text and caret,
// otherwise they are left alone.
char DateKeyProcess(TStringCaps& Caps, char Key, const AnsiString& Text, int SelStart, int SelEnd,
                    DateAgeType DateAge, AnsiString& NewText, int& NewSelStart, int& NewSelEnd);
