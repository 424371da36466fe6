#include <gtest/gtest.h>

#include <random>

#include "framework/db/LocateIndex.h"

namespace {

struct TFoldCase {
  char Upper, Lower;
};

class FoldCaseTest : public ::testing::TestWithParam<TFoldCase> {};

TEST_P(FoldCaseTest, BothCasesFoldToTheSmallLetter) {
  EXPECT_EQ(FoldCaseAnsi(GetParam().Upper), GetParam().Lower);
  EXPECT_EQ(FoldCaseAnsi(GetParam().Lower), GetParam().Lower);
}

INSTANTIATE_TEST_SUITE_P(Letters, FoldCaseTest,
                         ::testing::Values(TFoldCase{'A', 'a'}, TFoldCase{'\xC8', '\xE8'},  // È è
                                           TFoldCase{'\xC0', '\xE0'},                       // À à
                                           TFoldCase{'\x8A', '\x9A'},                       // Š š
                                           TFoldCase{'\x8C', '\x9C'},                       // Œ œ
                                           TFoldCase{'\x9F', '\xFF'},                       // Ÿ ÿ
                                           TFoldCase{'\xDE', '\xFE'},                       // Þ þ
                                           // signs and letters without a pair stay
                                           TFoldCase{'\xD7', '\xD7'}, TFoldCase{'\xDF', '\xDF'},
                                           TFoldCase{'\xB5', '\xB5'}, TFoldCase{'\x80', '\x80'},
                                           TFoldCase{'1', '1'}));

TEST(FoldCase, FoldsWholeTexts) { EXPECT_EQ(FoldCaseAnsi("CITT\xC0 \xC8"), "citt\xE0 \xE8"); }

// The index must give exactly what a scan from the first record gives.
TEST(LocateIndex, AgreesWithAScanOnRandomKeys) {
  std::mt19937 rng(7);
  const char alphabet[] = {'a', 'b', '\xE0', '\0', '\xFF'};
  const auto randomText = [&](int maxLength) {
    AnsiString s;
    for (int n = static_cast<int>(rng() % (maxLength + 1)); n > 0; --n) s += alphabet[rng() % 5];
    return s;
  };
  std::vector<AnsiString> keys(3000);
  std::vector<bool> indexed(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    keys[i] = randomText(5);
    indexed[i] = rng() % 10 != 0;
  }
  TLocateIndex index;
  for (size_t i = keys.size(); i-- > 0;)  // any order of adding will do
    if (indexed[i]) index.Add(static_cast<uint32_t>(i), keys[i]);
  index.Build();
  for (int q = 0; q < 3000; ++q) {
    const AnsiString key = randomText(4);
    for (bool prefix : {false, true}) {
      int expected = -1;
      for (size_t i = 0; i < keys.size() && expected < 0; ++i)
        if (indexed[i] && (prefix ? keys[i].compare(0, key.size(), key) == 0 : keys[i] == key))
          expected = static_cast<int>(i);
      ASSERT_EQ(index.Find(key, prefix), expected) << (prefix ? "prefix " : "exact ") << q;
    }
  }
}

TEST(LocateIndex, HandlesNoKeysAtAll) {
  TLocateIndex index;
  index.Build();
  EXPECT_EQ(index.Find("a", false), -1);
  EXPECT_EQ(index.Find("", true), -1);
}

}  // namespace
