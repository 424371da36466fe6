#include <gtest/gtest.h>

#include <QChar>

#include "framework/rtl/CodePage.h"

TEST(CodePage, EveryByteSurvivesUtf8AndQStringRoundTrips) {
  AnsiString all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
  EXPECT_EQ(QStringToAnsi(AnsiToQString(all)), all);
}

TEST(CodePage, SpecialCharactersMapToTheirCodes) {
  EXPECT_EQ(AnsiToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(Utf8ToAnsi("\u20AC 5 \u00E8 \u0152"), "\x80 5 \xE8 \x8C");
  EXPECT_EQ(AnsiToQString("citt\xE0"), QString::fromUtf8("città"));
}

TEST(CodePage, CharactersWithoutACodeBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToAnsi("1\u202F000"), "1?000");  // narrow no-break space
  EXPECT_EQ(Utf8ToAnsi("a\U0001F600b"), "a?b");  // outside the BMP: one '?'
  EXPECT_EQ(QStringToAnsi(QString::fromUtf8("a\U0001F600b")), "a?b");
  EXPECT_EQ(Utf8ToAnsi(std::string("x\xC3", 2)), "x?");          // truncated sequence
  EXPECT_EQ(Utf8ToAnsi(std::string("\xE0\x80\x80", 3)), "???");  // overlong form
  char c = 'x';
  EXPECT_FALSE(TryUnicodeToAnsiChar(0x202F, c));
  EXPECT_EQ(c, '?');
}

// The classification must agree with the Unicode class of each character.
TEST(CodePage, ClassificationFollowsUnicode) {
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    const QChar q(static_cast<char16_t>(AnsiCharToUnicode(static_cast<unsigned char>(b))));
    SCOPED_TRACE(b);
    EXPECT_EQ(IsCharAlphaA(c), q.isLetter());
    EXPECT_EQ(IsCharUpperA(c), q.category() == QChar::Letter_Uppercase);
    EXPECT_EQ(IsCharLowerA(c), q.category() == QChar::Letter_Lowercase);
  }
  EXPECT_TRUE(IsCharUpperA('\xC0'));   // À
  EXPECT_TRUE(IsCharLowerA('\xE8'));   // è
  EXPECT_FALSE(IsCharAlphaA('\xD7'));  // ×
}

TEST(AnsiStringHelpers, PositionsAreOneBased) {
  EXPECT_EQ(Pos("@", "a@b"), 2);
  EXPECT_EQ(Pos("@", "ab"), 0);
  EXPECT_EQ(Pos("", "ab"), 0);
  EXPECT_EQ(SubString("abcdef", 3, 2), "cd");
  EXPECT_EQ(SubString("abc", 3, 255), "c");
  EXPECT_EQ(SubString("abc", 4, 255), "");
  EXPECT_EQ(SubString("abc", 10, 1), "");
  EXPECT_EQ(UpperCaseAscii("via \xE8"), "VIA \xE8");
  EXPECT_EQ(LowerCaseAscii("CITT\xC0"), "citt\xC0");
}
