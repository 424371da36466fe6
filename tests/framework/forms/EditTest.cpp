#include <gtest/gtest.h>

#include <QClipboard>
#include <QTest>
#include <vector>

#include "framework/forms/Edit.h"
#include "framework/forms/Form.h"
#include "tests/support/Typing.h"

namespace {

// An edit whose KeyPress is scripted by the test.
class ScriptedEdit : public TEdit {
 public:
  using TEdit::TEdit;
  std::function<void(char&)> Script;
  std::vector<int> Pressed, Released;
  int Changes = 0;

 protected:
  void KeyPress(char& Key) override {
    Pressed.push_back(static_cast<unsigned char>(Key));
    if (Script) Script(Key);
    TEdit::KeyPress(Key);
  }
  void KeyUp(WORD& Key, TShiftState Shift) override {
    Released.push_back(Key);
    TEdit::KeyUp(Key, Shift);
  }
  void Change() override {
    ++Changes;
    TEdit::Change();
  }
};

class EditTest : public testing::Test {
 protected:
  void SetUp() override {
    edit = new ScriptedEdit(&form);
    ShowActive(&form);
    edit->setFocus();
  }
  TForm form{nullptr};
  ScriptedEdit* edit;
};

TEST_F(EditTest, EveryTypedCharacterReachesKeyPressWithItsCode) {
  QApplication::clipboard()->clear();  // Ctrl+V must paste nothing here
  TypeText(edit, "a\xE8\x80");         // a, è, €
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClick(edit, Qt::Key_Escape);
  QTest::keyClick(edit, Qt::Key_Left);  // moves the caret, types nothing
  QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(edit->Pressed, (std::vector<int>{'a', 0xE8, 0x80, 8, 13, 27, 3, 22, 24}));
  EXPECT_EQ(edit->Text(), "a\xE8");
}

TEST_F(EditTest, ZeroSwallowsTheKeystroke) {
  QApplication::clipboard()->setText("pasted");
  edit->SetText("abc");
  edit->SetSelStart(3);
  edit->Script = [](char& k) { k = 0; };
  TypeText(edit, "x");
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit->Text(), "abc");
  EXPECT_EQ(edit->Changes, 0);
}

TEST_F(EditTest, AChangedKeyIsTypedInstead) {
  edit->Script = [](char& k) {
    if (k == '.') k = ',';
  };
  TypeText(edit, "1.5");
  EXPECT_EQ(edit->Text(), "1,5");
  edit->Script = [](char& k) {
    if (k == 'e') k = '\xE8';
  };
  TypeText(edit, "e");
  EXPECT_EQ(edit->Text(), "1,5\xE8");
}

TEST_F(EditTest, OnKeyPressSeesTheKeyAsTheControlLeftIt) {
  std::vector<int> seen;
  edit->OnKeyPress = [&](TObject* sender, char& k) {
    EXPECT_EQ(sender, edit);
    seen.push_back(k);
    if (k == 'b') k = 0;
  };
  edit->Script = [](char& k) {
    if (k == 'a') k = 'A';
  };
  TypeText(edit, "ab");
  EXPECT_EQ(seen, (std::vector<int>{'A', 'b'}));
  EXPECT_EQ(edit->Text(), "A");
}

TEST_F(EditTest, KeyUpRunsOnEveryRelease) {
  int events = 0;
  edit->OnKeyUp = [&](TObject*, WORD&, TShiftState) { ++events; };
  TypeText(edit, "ab");
  QTest::keyClick(edit, Qt::Key_Home);
  QTest::keyClick(edit, Qt::Key_Shift);
  EXPECT_EQ(edit->Released, (std::vector<int>{'A', 'B', VK_HOME, VK_SHIFT}));
  EXPECT_EQ(events, 4);
}

TEST_F(EditTest, ChangeFollowsUserEditsNotWritesFromCode) {
  int events = 0;
  edit->OnChange = [&](TObject*) { ++events; };
  TypeText(edit, "ab");
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(edit->Changes, 3);
  edit->SetText("from code");
  EXPECT_EQ(edit->Changes, 3);
  EXPECT_EQ(events, 3);
}

TEST_F(EditTest, UnchangedWriteKeepsTheSelection) {
  edit->SetText("hello");
  edit->SetSelStart(1);
  edit->SetSelLength(3);
  edit->SetText("hello");
  EXPECT_EQ(edit->SelStart(), 1);
  EXPECT_EQ(edit->SelLength(), 3);
  EXPECT_EQ(edit->selectedText(), "ell");
  edit->SetSelStart(4);
  EXPECT_EQ(edit->SelLength(), 0);
  EXPECT_EQ(edit->SelStart(), 4);
  edit->SetSelLength(99);  // clamped to the text
  EXPECT_EQ(edit->SelLength(), 1);
}

TEST_F(EditTest, NoLengthLimitUnlessOneIsSet) {
  const AnsiString longText(40000, 'a');
  edit->SetText(longText);
  EXPECT_EQ(edit->Text(), longText);
  EXPECT_EQ(edit->MaxLength(), 0);
  QTest::keyClick(edit, Qt::Key_End);
  TypeText(edit, "b");
  EXPECT_EQ(edit->Text().size(), 40001u);
  edit->SetText("");
  edit->SetMaxLength(3);
  TypeText(edit, "abcd");
  EXPECT_EQ(edit->Text(), "abc");
}

// A character without a code is held as "?", and shown as held, whether
// typed or pasted; the caret stays where the user left it.
TEST_F(EditTest, ShowsExactlyTheTextItHolds) {
  QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString::fromUtf8("\u03a9"), {});
  EXPECT_EQ(edit->Pressed, (std::vector<int>{'?'}));
  QApplication::clipboard()->setText(QString::fromUtf8("a\u03a9\U0001F600b"));
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
  QApplication::clipboard()->clear();
  EXPECT_EQ(edit->text(), "?a??b");
  EXPECT_EQ(edit->SelStart(), 5);
}

TEST_F(EditTest, TextWrittenByCodeShowsItsStart) {
  edit->resize(60, 20);
  edit->SetText(AnsiString(200, '8'));
  EXPECT_EQ(edit->cursorPosition(), 0);
  EXPECT_LT(edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), 10);
}

TEST_F(EditTest, TabStopAndReadOnly) {
  edit->SetTabStop(false);
  EXPECT_EQ(edit->focusPolicy(), Qt::ClickFocus);
  edit->SetReadOnly(true);
  edit->SetText("keep");
  TypeText(edit, "x");
  EXPECT_EQ(edit->Text(), "keep");
}

}  // namespace
