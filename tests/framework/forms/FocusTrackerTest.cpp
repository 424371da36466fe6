#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>
#include <string>
#include <vector>

#include "framework/forms/Edit.h"
#include "framework/forms/FocusTracker.h"
#include "framework/forms/Form.h"
#include "framework/forms/GroupBox.h"
#include "framework/rtl/Exceptions.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/Typing.h"

namespace {

// Records the order of enters and exits of every control on a form:
// box1 { a, b }, box2 { c }, and d directly on the form.
class FocusTest : public testing::Test {
 protected:
  void SetUp() override {
    box1 = Make<TGroupBox>(&form, "box1");
    a = Make<TEdit>(box1, "a");
    b = Make<TEdit>(box1, "b");
    box2 = Make<TGroupBox>(&form, "box2");
    c = Make<TEdit>(box2, "c");
    d = Make<TEdit>(&form, "d");
    box1->setGeometry(0, 0, 100, 60);
    a->setGeometry(5, 20, 40, 20);
    b->setGeometry(50, 20, 40, 20);
    box2->setGeometry(0, 70, 100, 60);
    ShowActive(&form);
    a->setFocus();
    log.clear();
  }
  template <class T, class P>
  T* Make(P* parent, const std::string& name) {
    auto* control = new T(parent);
    control->OnEnter = [this, name](TObject*) { log.push_back("enter " + name); };
    control->OnExit = [this, name](TObject*) { log.push_back("exit " + name); };
    return control;
  }
  TRecordingServices services;
  TForm form{nullptr};
  TGroupBox *box1, *box2;
  TEdit *a, *b, *c, *d;
  std::vector<std::string> log;
};

TEST_F(FocusTest, MovingInsideAGroupLeavesTheGroupAlone) {
  b->setFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"exit a", "enter b"}));
}

TEST_F(FocusTest, ExitsInnermostFirstThenEntersOutermostFirst) {
  c->setFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"exit a", "exit box1", "enter box2", "enter c"}));
  log.clear();
  d->setFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"exit c", "exit box2", "enter d"}));
}

TEST_F(FocusTest, TabMovesLikeAClick) {
  QTest::keyClick(a, Qt::Key_Tab);
  EXPECT_TRUE(b->hasFocus());
  EXPECT_EQ(log, (std::vector<std::string>{"exit a", "enter b"}));
  EXPECT_EQ(form.ActiveControl(), b);
}

TEST_F(FocusTest, AnotherWindowIsNoExitAndComingBackIsNoEntry) {
  QWidget other;
  auto* field = new QLineEdit(&other);
  ShowActive(&other);
  field->setFocus();
  ShowActive(&form);
  EXPECT_TRUE(a->hasFocus());
  EXPECT_TRUE(log.empty());
}

TEST_F(FocusTest, OpeningAComboPopupIsNoExit) {
  auto* combo = new QComboBox(box1);
  combo->addItems({"one", "two"});
  combo->setFocus();
  log.clear();
  combo->showPopup();
  combo->hidePopup();
  ProcessPosted();
  EXPECT_TRUE(log.empty());
}

TEST_F(FocusTest, PostedActivationReturnsTheFocusAfterTheChange) {
  a->OnExit = [&](TObject*) {
    log.push_back("exit a");
    a->PostActivate();
  };
  b->setFocus();
  EXPECT_TRUE(b->hasFocus());  // the change under way finishes first
  ProcessPosted();
  EXPECT_TRUE(a->hasFocus());
  EXPECT_EQ(log, (std::vector<std::string>{"exit a", "enter b", "exit b", "enter a"}));
}

TEST_F(FocusTest, PostedActivationIgnoresDeletedAndHiddenControls) {
  a->PostActivate();
  b->setFocus();
  delete a;
  c->PostActivate();
  c->hide();
  ProcessPosted();
  EXPECT_TRUE(b->hasFocus());
}

TEST_F(FocusTest, AnExceptionInAHandlerDoesNotStopTheMove) {
  a->OnExit = [](TObject*) { throw Exception("boom"); };
  b->setFocus();  // the guard shows the error; the entry still happens
  EXPECT_TRUE(b->hasFocus());
  EXPECT_EQ(log, (std::vector<std::string>{"enter b"}));
  ASSERT_EQ(services.Boxes.size(), 1u);
  EXPECT_EQ(services.Boxes[0].Text, "boom.");
}

}  // namespace
