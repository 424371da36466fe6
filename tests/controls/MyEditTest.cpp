#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "controls/MyEdit.h"
#include "framework/forms/Form.h"
#include "framework/forms/Palette.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/Settings.h"
#include "tests/support/Typing.h"

namespace {

class MyEditTest : public testing::Test {
 protected:
  void SetUp() override {
    saved = FormatSettings;
    FormatSettings = CommaSettings();
    SetNowFunction([] { return EncodeDate(2026, 12, 8); });
    edit = new TMyEdit(&form);
    next = new TMyEdit(&form);
    edit->setGeometry(0, 0, 100, 20);
    next->setGeometry(0, 30, 100, 20);
    ShowActive(&form);
    edit->setFocus();
  }
  void TearDown() override {
    FormatSettings = saved;
    SetNowFunction(nullptr);
  }
  // Types Keys one by one and records the text after each key release.
  std::vector<AnsiString> TypeEach(const AnsiString& keys) {
    std::vector<AnsiString> texts;
    for (char k : keys) {
      TypeText(edit, AnsiString(1, k));
      texts.push_back(edit->Text());
    }
    return texts;
  }
  TFormatSettings saved;
  TRecordingServices services;
  TForm form{nullptr};
  TMyEdit* edit;
  TMyEdit* next;
};

TEST_F(MyEditTest, DefaultsPassEverythingOn) {
  EXPECT_EQ(edit->CharFilter(), chDefault);
  EXPECT_EQ(edit->DateAge(), dtCurrent);
  EXPECT_TRUE(edit->MinValue().IsEmpty());
  TypeText(edit, "a-b ,.\xE8");
  EXPECT_EQ(edit->Text(), "a-b ,.\xE8");
  next->setFocus();
  EXPECT_TRUE(services.Beeps.empty());
}

TEST_F(MyEditTest, FirstCapRewritesOnEveryKeyReleaseKeepingTheCaret) {
  edit->SetCharFilter(chFirstCap);
  EXPECT_EQ(TypeEach("mario"), (std::vector<AnsiString>{"M", "Ma", "Mar", "Mari", "Mario"}));
  edit->SetSelStart(2);
  TypeText(edit, "X");  // a capital inside a word becomes small
  EXPECT_EQ(edit->Text(), "Maxrio");
  EXPECT_EQ(edit->SelStart(), 3);
}

TEST_F(MyEditTest, OnKeyPressSeesTheLetterAsTyped) {
  std::vector<int> seen;
  edit->OnKeyPress = [&](TObject*, char& k) { seen.push_back(static_cast<unsigned char>(k)); };
  edit->SetCharFilter(chAllCaps);
  TypeText(edit, "ab\xE8");
  EXPECT_EQ(seen, (std::vector<int>{'a', 'b', 0xE8}));
  EXPECT_EQ(edit->Text(), "AB\xE8");  // accented letters keep their case
}

TEST_F(MyEditTest, TypingAtAWordStartRecasesTheRestOfTheWord) {
  edit->SetCharFilter(chFirstCap);
  TypeText(edit, "mario rossi");
  edit->SetSelStart(6);
  TypeText(edit, "x");
  EXPECT_EQ(edit->Text(), "Mario Xrossi");
  EXPECT_EQ(edit->SelStart(), 7);
  edit->SetSelStart(0);
  edit->SetSelLength(5);
  TypeText(edit, "g");  // replaces the selection
  EXPECT_EQ(edit->Text(), "G Xrossi");
}

TEST_F(MyEditTest, TextFromCodeWaitsForTheNextKeyRelease) {
  edit->SetCharFilter(chAllCaps);
  edit->SetText("roma");
  EXPECT_EQ(edit->Text(), "roma");
  QTest::keyClick(edit, Qt::Key_End);
  EXPECT_EQ(edit->Text(), "ROMA");
}

TEST_F(MyEditTest, NumberFieldSwallowsSignsBlanksAndPaste) {
  QApplication::clipboard()->setText("123");
  edit->SetCharFilter(chNumber);
  TypeText(edit, "1-2 a3,");
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit->Text(), "123");
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(edit->Text(), "12");
  EXPECT_TRUE(services.Beeps.empty());
}

TEST_F(MyEditTest, DecimalFieldAdmitsTheRegionalSeparator) {
  edit->SetCharFilter(chDecimal);
  TypeText(edit, "1.5,2,");
  EXPECT_EQ(edit->Text(), "15,2,");
}

TEST_F(MyEditTest, DateIsCompletedWhileTyping) {
  edit->SetCharFilter(chDate);
  edit->SetDateAge(dtCurrent);
  EXPECT_EQ(TypeEach("50608"),
            (std::vector<AnsiString>{"5/", "5/0", "5/06/20", "5/06/200", "5/06/2008"}));
  EXPECT_EQ(edit->SelStart(), 9);
  TypeText(edit, "9");  // a fifth year digit
  EXPECT_EQ(edit->Text(), "5/06/2008");
  EXPECT_EQ(services.Beeps.size(), 1u);
}

TEST_F(MyEditTest, OnKeyPressSeesARefusedOrCompletedKeyAsZero) {
  std::vector<int> seen;
  edit->OnKeyPress = [&](TObject*, char& k) { seen.push_back(k); };
  edit->SetCharFilter(chDate);
  TypeText(edit, "/1");  // refused with a beep; then accepted as typed
  edit->SetText("");
  TypeText(edit, "4");  // completed to "4/"
  EXPECT_EQ(seen, (std::vector<int>{0, '1', 0}));
}

TEST_F(MyEditTest, LeavingAnInvalidFieldBeepsAndTakesTheFocusBack) {
  edit->SetCharFilter(chNumber);
  edit->SetMinValue(10);
  edit->SetMaxValue(20);
  int exits = 0;
  edit->OnExit = [&](TObject*) { ++exits; };
  TypeText(edit, "9");
  QTest::keyClick(edit, Qt::Key_Tab);
  EXPECT_EQ(exits, 1);  // OnExit fires for an invalid text too
  EXPECT_EQ(services.Beeps, (std::vector<unsigned>{MB_SIMPLEBEEP}));
  EXPECT_TRUE(next->hasFocus());  // the move under way finishes first
  ProcessPosted();
  EXPECT_TRUE(edit->hasFocus());
  EXPECT_EQ(edit->Text(), "9");
  EXPECT_TRUE(services.Boxes.empty());
  // Corrected, the field lets the focus go.
  QTest::keyClick(edit, Qt::Key_Backspace);
  TypeText(edit, "15");
  QTest::keyClick(edit, Qt::Key_Tab);
  ProcessPosted();
  EXPECT_TRUE(next->hasFocus());
  EXPECT_EQ(services.Beeps.size(), 1u);
}

TEST_F(MyEditTest, TwoInvalidNeighboursLetTheFocusSettleOnTheFieldLeft) {
  for (TMyEdit* e : {edit, next}) {
    e->SetCharFilter(chNumber);
    e->SetMinValue(10);
    e->SetMaxValue(20);
    e->SetText("5");
  }
  QTest::keyClick(edit, Qt::Key_Tab);
  for (int i = 0; i < 5; ++i) ProcessPosted();
  EXPECT_TRUE(edit->hasFocus());
  EXPECT_EQ(services.Beeps.size(), 1u);
  // Left for real, the other field still checks its own value.
  edit->SetText("15");
  QTest::keyClick(edit, Qt::Key_Tab);
  QTest::keyClick(next, Qt::Key_Tab, Qt::ShiftModifier);
  ProcessPosted();
  EXPECT_TRUE(next->hasFocus());
  EXPECT_EQ(services.Beeps.size(), 2u);
}

// Keys never change a read-only field, and it never holds the focus back.
TEST_F(MyEditTest, AReadOnlyFieldTakesNoKeysAndLetsTheFocusGo) {
  edit->SetCharFilter(chDate);
  edit->SetReadOnly(true);
  TypeText(edit, "5/");
  EXPECT_EQ(edit->Text(), "");
  edit->SetCharFilter(chFirstCap);
  edit->SetText("mario");
  QTest::keyClick(edit, Qt::Key_End);
  EXPECT_EQ(edit->Text(), "mario");
  edit->SetCharFilter(chNumber);
  edit->SetMinValue(10);
  edit->SetText("5");  // invalid, and written by code
  QTest::keyClick(edit, Qt::Key_Tab);
  ProcessPosted();
  EXPECT_TRUE(next->hasFocus());
  EXPECT_TRUE(services.Beeps.empty());
}

struct Composed {
  CharFilterType Filter;
  const char* Committed;  // UTF-8
  AnsiString Text;
};

void PrintTo(const Composed& c, std::ostream* os) { *os << int(c.Filter) << " " << c.Committed; }

class InputMethod : public MyEditTest, public testing::WithParamInterface<Composed> {};

// Committed text goes through the same key step as typed characters.
TEST_P(InputMethod, CommittedTextIsFilteredLikeTypedText) {
  edit->SetCharFilter(GetParam().Filter);
  edit->SetDateAge(dtNone);
  CommitText(edit, QString::fromUtf8(GetParam().Committed));
  EXPECT_EQ(edit->Text(), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(Filters, InputMethod,
                         testing::Values(Composed{chNumber, "\u00e91x2", "12"},
                                         Composed{chDate, "\u00e95", "5/"},
                                         Composed{chFirstCap, "\u00e8mario", "\xE8mario"},
                                         Composed{chAllCaps, "ab", "AB"}));

TEST_F(MyEditTest, ListenersSeeTheTypedLetterThenTheFilteredText) {
  std::vector<AnsiString> seen;
  edit->OnChange = [&](TObject*) { seen.push_back("change " + edit->Text()); };
  edit->OnKeyUp = [&](TObject*, WORD&, TShiftState) { seen.push_back("up " + edit->Text()); };
  edit->SetCharFilter(chFirstCap);
  edit->SetText("Mario");
  edit->SetSelStart(0);
  TypeText(edit, "x");
  QTest::keyClick(edit, Qt::Key_End);  // nothing left to filter: no change
  EXPECT_EQ(seen,
            (std::vector<AnsiString>{"change xMario", "up xMario", "change Xmario", "up Xmario"}));
  seen.clear();
  edit->SetCharFilter(chDate);
  edit->SetDateAge(dtNone);
  TypeText(edit, "5");
  EXPECT_EQ(seen, (std::vector<AnsiString>{"change 5/", "up 5/"}));
}

TEST_F(MyEditTest, EMailChecks) {
  edit->SetCharFilter(chEMail);
  edit->SetText("mario@posta");
  next->setFocus();
  ProcessPosted();
  EXPECT_TRUE(edit->hasFocus());
  edit->SetText("mario@posta.it");
  next->setFocus();
  ProcessPosted();
  EXPECT_TRUE(next->hasFocus());
  EXPECT_EQ(services.Beeps.size(), 1u);
}

TEST_F(MyEditTest, SetCharFilterResets) {
  edit->SetCharFilter(chNumber);
  edit->SetMinValue(1);
  edit->SetMaxValue(5);
  edit->SetText("3");
  edit->SetCharFilter(chNumber);  // the same filter: nothing changes
  EXPECT_EQ(edit->Text(), "3");
  EXPECT_EQ(edit->MinValue().AsInteger(), 1);
  EXPECT_EQ(edit->DateAge(), dtNone);
  edit->SetCharFilter(chDate);
  EXPECT_EQ(edit->Text(), "");
  EXPECT_TRUE(edit->MinValue().IsEmpty());
  EXPECT_TRUE(edit->MaxValue().IsEmpty());
  EXPECT_EQ(edit->DateAge(), dtNone);  // kept: set it after switching to dates
  edit->SetDateAge(dt1900);
  edit->SetCharFilter(chAllCaps);
  EXPECT_EQ(edit->DateAge(), dtNone);
}

TEST_F(MyEditTest, RegisteredOnTheCustomPage) {
  Myedit::Register();
  bool found = false;
  for (const auto& c : RegisteredComponents("Custom")) found |= c.ClassName == "TMyEdit";
  EXPECT_TRUE(found);
}

}  // namespace
