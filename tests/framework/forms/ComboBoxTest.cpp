#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "framework/forms/ComboBox.h"
#include "framework/forms/Edit.h"
#include "framework/forms/Form.h"
#include "framework/rtl/Exceptions.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/Typing.h"

namespace {

// A combo box that logs its overridable operations and lets the test script KeyPress.
class LoggingCombo : public TComboBox {
 public:
  using TComboBox::TComboBox;
  std::function<void(char&)> Script;
  std::vector<int> Pressed;
  std::vector<std::string> Log;

  void DoEnter() override {
    Log.push_back("enter");
    TComboBox::DoEnter();
  }
  void DoExit() override {
    Log.push_back("exit");
    TComboBox::DoExit();
  }

 protected:
  void KeyPress(char& Key) override {
    Pressed.push_back(static_cast<unsigned char>(Key));
    if (Script) Script(Key);
    TComboBox::KeyPress(Key);
  }
  void Change() override {
    Log.push_back("change " + Text());
    TComboBox::Change();
  }
  void DropDown() override {
    Log.push_back("dropdown");
    TComboBox::DropDown();
  }
  void CloseUp() override {
    Log.push_back("closeup");
    TComboBox::CloseUp();
  }
};

class ComboBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    combo = new LoggingCombo(&form);
    next = new TEdit(&form);
    combo->setGeometry(0, 0, 120, 24);
    next->setGeometry(0, 40, 120, 24);
    combo->Items().AddStrings({"Roma", "Milano", "Torino"});
    ShowActive(&form);
    combo->setFocus();
    combo->Log.clear();
  }
  // Later tests paste from the clipboard expecting nothing there.
  void TearDown() override { QApplication::clipboard()->clear(); }
  // Opens the list and lets it come up on screen, as the user sees it.
  void OpenList() {
    combo->showPopup();
    ProcessPosted();
  }
  // The entry at Row chosen in the open list with the keyboard, as a user would.
  void ChooseWithKeys(int Row) {
    OpenList();
    QAbstractItemView* list = combo->view();
    list->setCurrentIndex(list->model()->index(Row, 0));
    QTest::keyClick(list, Qt::Key_Return);
  }
  TRecordingServices services;
  TForm form{nullptr};
  LoggingCombo* combo;
  TEdit* next;
};

// The edit field's rules hold in the box too.
TEST_F(ComboBoxTest, NoLengthLimitAndTheTextShownIsTheTextHeld) {
  const AnsiString longText(40000, 'a');
  combo->SetText(longText);
  EXPECT_EQ(combo->Text(), longText);
  combo->SetText("");
  QTest::sendKeyEvent(QTest::Click, combo, Qt::Key_unknown, QString::fromUtf8("\u03a9"), {});
  EXPECT_EQ(combo->lineEdit()->text(), "?");
}

TEST_F(ComboBoxTest, KeysArriveAtTheBoxAndEachReachesKeyPressOnce) {
  EXPECT_EQ(QApplication::focusWidget(), combo);
  TypeText(combo, "a\xE8");
  QTest::keyClick(combo, Qt::Key_Backspace);
  QTest::keyClick(combo, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(combo, Qt::Key_V, Qt::ControlModifier);
  // Keys sent to the edit field itself take the same road, once.
  TypeText(combo->lineEdit(), "b");
  EXPECT_EQ(combo->Pressed, (std::vector<int>{'a', 0xE8, 8, 3, 22, 'b'}));
}

TEST_F(ComboBoxTest, ZeroSwallowsAndAChangedKeyIsTypedInstead) {
  QApplication::clipboard()->setText("pasted");
  combo->Script = [](char& k) {
    if (k == '.') k = ',';
    if (k == 'x' || k == 8 || k == 22) k = 0;
  };
  TypeText(combo, "1.5x");
  QTest::keyClick(combo, Qt::Key_Backspace);
  QTest::keyClick(combo, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(combo->Text(), "1,5");
}

TEST_F(ComboBoxTest, ChangeFollowsUserEditsNotCode) {
  int events = 0;
  combo->OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, combo);
    ++events;
  };
  TypeText(combo, "Ro");
  QTest::keyClick(combo, Qt::Key_Backspace);
  combo->SetText("from code");
  combo->Items().Add("Napoli");
  combo->Items().Clear();
  combo->Items().Add("Roma");
  EXPECT_EQ(combo->Log, (std::vector<std::string>{"change R", "change Ro", "change R"}));
  EXPECT_EQ(events, 3);
  EXPECT_EQ(combo->Text(), "from code");
}

TEST_F(ComboBoxTest, ChangingTheEntriesKeepsTextAndSelection) {
  auto* empty = new LoggingCombo(&form);
  empty->SetText("typed");
  empty->SetSelStart(1);
  empty->SetSelLength(2);
  empty->Items().Add("first");  // the toolkit would show the first entry of an empty list
  EXPECT_EQ(empty->Text(), "typed");
  EXPECT_EQ(empty->currentIndex(), -1);
  EXPECT_EQ(empty->SelStart(), 1);
  EXPECT_EQ(empty->SelLength(), 2);
  empty->Items().Clear();
  EXPECT_EQ(empty->Text(), "typed");
  EXPECT_EQ(empty->Items().Count(), 0);
  EXPECT_THROW(empty->Items().Strings(0), Exception);
}

TEST_F(ComboBoxTest, EnterDoesNotAddTheTextToTheList) {
  TypeText(combo, "Napoli");
  QTest::keyClick(combo, Qt::Key_Return);
  EXPECT_EQ(combo->Items().Count(), 3);
  EXPECT_EQ(combo->Text(), "Napoli");
}

TEST_F(ComboBoxTest, AChoiceFromTheListRunsChangeOnceWithTheChosenText) {
  TypeText(combo, "x");
  combo->Log.clear();
  ChooseWithKeys(1);
  EXPECT_EQ(combo->Log, (std::vector<std::string>{"dropdown", "closeup", "change Milano"}));
  EXPECT_FALSE(combo->DroppedDown());
  ProcessPosted();
  EXPECT_TRUE(combo->hasFocus());
  // Choosing by mouse does the same.
  combo->Log.clear();
  OpenList();
  QAbstractItemView* list = combo->view();
  const QRect cell = list->visualRect(list->model()->index(2, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  EXPECT_EQ(combo->Log, (std::vector<std::string>{"dropdown", "closeup", "change Torino"}));
  EXPECT_EQ(combo->Text(), "Torino");
}

TEST_F(ComboBoxTest, ArrowKeysOnTheClosedBoxChooseAnEntry) {
  QTest::keyClick(combo, Qt::Key_Down);
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(combo->Log, (std::vector<std::string>{"change Roma", "change Milano"}));
}

TEST_F(ComboBoxTest, OpeningAndClosingTheListIsNoExit) {
  int closeUps = 0;
  combo->OnCloseUp = [&](TObject*) { ++closeUps; };
  combo->SetDroppedDown(true);
  ProcessPosted();
  EXPECT_TRUE(combo->DroppedDown());
  QTest::keyClick(combo->view(), Qt::Key_Escape);
  EXPECT_FALSE(combo->DroppedDown());
  ProcessPosted();
  combo->SetDroppedDown(true);
  ProcessPosted();
  combo->SetDroppedDown(false);
  ProcessPosted();
  EXPECT_EQ(combo->Log, (std::vector<std::string>{"dropdown", "closeup", "dropdown", "closeup"}));
  EXPECT_EQ(closeUps, 2);
  EXPECT_TRUE(combo->hasFocus());
  EXPECT_EQ(form.ActiveControl(), combo);
}

TEST_F(ComboBoxTest, DeletedWithItsListOpen) {
  std::vector<std::string> log;
  combo->OnCloseUp = [&](TObject*) { log.push_back("closeup"); };
  OpenList();
  delete combo;
  ProcessPosted();
  EXPECT_TRUE(log.empty());
  next->setFocus();
  EXPECT_TRUE(next->hasFocus());
}

TEST_F(ComboBoxTest, LeavingWithTheTextOfAnEntryIsNoChoice) {
  TypeText(combo, "Roma");
  combo->Log.clear();
  next->setFocus();
  combo->setFocus();
  EXPECT_EQ(combo->Log, (std::vector<std::string>{"exit", "enter"}));
  EXPECT_EQ(combo->Text(), "Roma");
}

TEST_F(ComboBoxTest, TheWheelOverAnUnfocusedBoxChangesNothing) {
  next->setFocus();
  combo->Log.clear();
  const QPoint at = combo->rect().center();
  QWheelEvent wheel(at, combo->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(combo, &wheel);
  EXPECT_EQ(combo->Text(), "");
  EXPECT_TRUE(combo->Log.empty());
}

}  // namespace
