#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QMetaProperty>
#include <QTest>
#include <string>
#include <vector>

#include "combos/MyComboBox.h"
#include "framework/forms/Edit.h"
#include "framework/forms/Form.h"
#include "framework/forms/Palette.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/Settings.h"
#include "tests/support/Typing.h"

namespace {

class MyComboBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    saved = FormatSettings;
    FormatSettings = CommaSettings();
    SetNowFunction([] { return EncodeDate(2026, 12, 8); });
    combo = new TMyComboBox(&form);
    next = new TEdit(&form);
    combo->setGeometry(0, 0, 120, 24);
    next->setGeometry(0, 40, 120, 24);
    ShowActive(&form);
    combo->setFocus();
  }
  void TearDown() override {
    FormatSettings = saved;
    SetNowFunction(nullptr);
  }
  // Replaces the text as the user would: select all, then type.
  void Retype(const AnsiString& Text) {
    combo->lineEdit()->selectAll();
    QTest::keyClick(combo, Qt::Key_Delete);
    TypeText(combo, Text);
  }
  // Leaves the field for the next one and lets the posted requests run.
  void Leave() {
    next->setFocus();
    ProcessPosted();
  }
  // Opens the list and lets it come up on screen, as the user sees it.
  void OpenList() {
    combo->showPopup();
    ProcessPosted();
  }
  void ClickEntry(int Row) {
    OpenList();
    QAbstractItemView* list = combo->view();
    const QRect cell = list->visualRect(list->model()->index(Row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  }
  TFormatSettings saved;
  TRecordingServices services;
  TForm form{nullptr};
  TMyComboBox* combo;
  TEdit* next;
};

TEST_F(MyComboBoxTest, NewControlAndItsStoredProperties) {
  EXPECT_EQ(combo->CharFilter(), chDefault);
  EXPECT_EQ(combo->DateAge(), dtCurrent);
  EXPECT_FALSE(combo->Required());
  EXPECT_TRUE(combo->ExactListValue());
  EXPECT_TRUE(combo->ErrorMessage().empty());
  EXPECT_TRUE(combo->MinValue().IsEmpty());
  EXPECT_TRUE(combo->MaxValue().IsEmpty());
  // A stored layout sets them by name, as the generated form code does.
  const char* const names[] = {"CharFilter", "DateAge", "Required", "ExactListValue",
                               "ErrorMessage"};
  const QMetaObject* meta = combo->metaObject();
  for (int i = 0; i < 5; ++i)
    EXPECT_STREQ(meta->property(meta->propertyOffset() + i).name(), names[i]);
  combo->setProperty("ExactListValue", false);
  combo->setProperty("ErrorMessage", QString::fromUtf8("Citt\u00e0 sconosciuta"));
  combo->setProperty("CharFilter", int(chAllCaps));
  EXPECT_FALSE(combo->ExactListValue());
  EXPECT_EQ(combo->ErrorMessage(), "Citt\xE0 sconosciuta");
  EXPECT_EQ(combo->CharFilter(), chAllCaps);
}

// Empty text: only Required decides, whatever the filter and the list.
class EmptyText : public MyComboBoxTest,
                  public testing::WithParamInterface<std::tuple<CharFilterType, bool>> {};

TEST_P(EmptyText, IsValidExactlyWhenNotRequired) {
  const auto [filter, required] = GetParam();
  combo->SetCharFilter(filter);
  combo->SetMinValue(1);
  combo->SetMaxValue(5);
  combo->SetRequired(required);
  TypeText(combo, "1");
  QTest::keyClick(combo, Qt::Key_Backspace);
  Leave();
  EXPECT_EQ(services.Beeps.size(), required ? 1u : 0u);
  EXPECT_EQ(combo->hasFocus(), required);
}

INSTANTIATE_TEST_SUITE_P(Filters, EmptyText,
                         testing::Combine(testing::Values(chDefault, chAllCaps, chDate, chNumber,
                                                          chDecimal, chEMail),
                                          testing::Bool()));

struct ListCase {
  CharFilterType Filter;
  std::vector<AnsiString> Items;
  AnsiString Typed;  // the text after typing, filtered, is what is checked
  bool Valid;
};

class ExactList : public MyComboBoxTest, public testing::WithParamInterface<ListCase> {};

TEST_P(ExactList, TextMustBeAnEntry) {
  const ListCase& c = GetParam();
  combo->SetCharFilter(c.Filter);
  combo->Items().AddStrings(c.Items);
  TypeText(combo, c.Typed);
  EXPECT_EQ(combo->ValidData(), c.Valid) << combo->Text();
  combo->SetExactListValue(false);
  EXPECT_TRUE(combo->ValidData());
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ExactList,
    testing::Values(
        ListCase{chDefault, {"Roma", "Milano"}, "Roma", true},
        ListCase{chDefault, {"Roma", "Milano"}, "roma", false},
        ListCase{chDefault, {"Roma", "Milano"}, "Rom", false},
        ListCase{chDefault, {}, "Roma", false}, ListCase{chEMail, {"a@b.it"}, "A@b.it", false},
        // A re-casing filter matches an entry by its filtered form.
        ListCase{chAllCaps, {"Roma", "Milano"}, "roma", true},
        ListCase{chAllCaps, {"Roma", "Milano"}, "rom", false},
        ListCase{chFirstCap, {"MILANO"}, "milano", true},
        ListCase{chFirstCapCong, {"piazza DELLA signoria"}, "piazza della signoria", true},
        ListCase{chOneCap, {"roma nord"}, "roma nord", true},
        ListCase{chOneCap, {"roma Nord"}, "roma nord", false},
        ListCase{chFirstCap, {"Citt\xC0"}, "citt\xE0", false}));  // accents keep their case

TEST_F(MyComboBoxTest, ReFiltersAfterEachChangeKeepingTheCaret) {
  std::vector<AnsiString> seen;
  combo->OnChange = [&](TObject*) { seen.push_back(combo->Text()); };
  combo->SetCharFilter(chFirstCap);
  TypeText(combo, "mario");
  EXPECT_EQ(combo->Text(), "Mario");
  combo->SetSelStart(2);
  TypeText(combo, "X");  // a capital inside a word becomes small
  EXPECT_EQ(combo->Text(), "Maxrio");
  EXPECT_EQ(combo->SelStart(), 3);
  // OnChange sees the text as the user left it, then as the filter left it.
  EXPECT_EQ(seen,
            (std::vector<AnsiString>{"m", "M", "Ma", "Mar", "Mari", "Mario", "MaXrio", "Maxrio"}));
  combo->SetText("roma");  // a write from code is no change
  EXPECT_EQ(combo->Text(), "roma");
}

TEST_F(MyComboBoxTest, PickingAnEntryShowsItFilteredAndItPasses) {
  combo->SetCharFilter(chAllCaps);
  combo->Items().AddStrings({"Roma", "Milano"});
  int changes = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  ClickEntry(1);
  EXPECT_EQ(changes, 2);  // the choice, then its filtered form
  EXPECT_EQ(combo->Text(), "MILANO");
  Leave();
  EXPECT_TRUE(next->hasFocus());
  EXPECT_TRUE(services.Beeps.empty());
}

TEST_F(MyComboBoxTest, NumberFiltersDiscardOtherKeys) {
  std::vector<int> seen;
  combo->OnKeyPress = [&](TObject*, char& k) { seen.push_back(k); };
  combo->SetCharFilter(chNumber);
  TypeText(combo, "1-2 a3,");
  EXPECT_EQ(combo->Text(), "123");
  QTest::keyClick(combo, Qt::Key_Backspace);
  EXPECT_EQ(combo->Text(), "12");
  EXPECT_EQ(seen, (std::vector<int>{'1', 0, '2', 0, 0, '3', 0, 8}));
  combo->SetCharFilter(chDecimal);
  TypeText(combo, "-,5.,");
  EXPECT_EQ(combo->Text(), "12,5,");
  EXPECT_TRUE(services.Beeps.empty());
}

TEST_F(MyComboBoxTest, DateIsCompletedWhileTyping) {
  combo->SetCharFilter(chDate);
  std::vector<AnsiString> texts;
  for (char k : AnsiString("50608")) {
    TypeText(combo, AnsiString(1, k));
    texts.push_back(combo->Text());
  }
  EXPECT_EQ(texts, (std::vector<AnsiString>{"5/", "5/0", "5/06/20", "5/06/200", "5/06/2008"}));
  EXPECT_EQ(combo->SelStart(), 9);
  TypeText(combo, "9/");  // a fifth year digit, a third separator
  EXPECT_EQ(combo->Text(), "5/06/2008");
  EXPECT_EQ(services.Beeps.size(), 2u);
}

struct RangeCase {
  CharFilterType Filter;
  Variant Min, Max;
  AnsiString Typed;
  bool Valid;
};

class Range : public MyComboBoxTest, public testing::WithParamInterface<RangeCase> {};

TEST_P(Range, LeavingChecksTheBounds) {
  const RangeCase& c = GetParam();
  combo->SetCharFilter(c.Filter);
  combo->SetMinValue(c.Min);
  combo->SetMaxValue(c.Max);
  combo->Items().Add("unrelated");  // the list plays no part in a range check
  TypeText(combo, c.Typed);
  const size_t typingBeeps = services.Beeps.size();
  Leave();
  EXPECT_EQ(services.Beeps.size() == typingBeeps, c.Valid) << combo->Text();
  EXPECT_EQ(next->hasFocus(), c.Valid);
}

const Variant kNone;
const Variant kJan1 = Variant::FromDate(EncodeDate(2008, 1, 1));
const Variant kDec31 = Variant::FromDate(EncodeDate(2008, 12, 31));

INSTANTIATE_TEST_SUITE_P(
    Bounds, Range,
    testing::Values(
        RangeCase{chNumber, 1, 10, "5", true}, RangeCase{chNumber, 1, 10, "0", false},
        RangeCase{chNumber, 1, 10, "11", false}, RangeCase{chNumber, 1, 10, "99999999999", false},
        RangeCase{chNumber, kNone, kNone, "99999", true},
        // An unset bound does not limit its side.
        RangeCase{chNumber, 10, kNone, "20", true}, RangeCase{chNumber, 10, kNone, "5", false},
        // Decimals compare as decimal numbers.
        RangeCase{chDecimal, 1, 10, "2,5", true}, RangeCase{chDecimal, 1, 10, "10,5", false},
        // Typed with the century completed: 150608 gives 15/06/2008.
        RangeCase{chDate, kJan1, kDec31, "150608", true},
        RangeCase{chDate, kJan1, kDec31, "15609", false},
        RangeCase{chDate, kJan1, kDec31, "311207", false},
        RangeCase{chDate, kJan1, kDec31, "310208", false},  // no 31st of February
        RangeCase{chDate, kNone, kDec31, "101100", true},
        RangeCase{chDate, kNone, kNone, "310208", true}));

TEST_F(MyComboBoxTest, InvalidExitShowsTheMessageThenTakesTheFocusBack) {
  combo->SetErrorMessage("Valore non in elenco");
  combo->Items().AddStrings({"Roma", "Milano"});
  std::vector<std::string> log;
  combo->OnExit = [&](TObject*) {
    log.push_back("exit, " + std::to_string(services.Boxes.size()) + " box");
  };
  next->OnEnter = [&](TObject*) { log.push_back("enter next"); };
  TypeText(combo, "Rom");
  next->setFocus();
  EXPECT_TRUE(next->hasFocus());  // the move under way finishes first
  ProcessPosted();
  EXPECT_TRUE(combo->hasFocus());
  EXPECT_EQ(log, (std::vector<std::string>{"exit, 1 box", "enter next"}));
  ASSERT_EQ(services.Boxes.size(), 1u);
  EXPECT_EQ(services.Boxes[0].Owner, combo);
  EXPECT_EQ(services.Boxes[0].Text, "Valore non in elenco");
  EXPECT_EQ(services.Boxes[0].Caption, "Errore");
  EXPECT_EQ(services.Boxes[0].Flags, MB_OK);
  EXPECT_TRUE(services.Beeps.empty());
  EXPECT_EQ(combo->Text(), "Rom");  // never corrected
  // Corrected, the field lets the focus go.
  TypeText(combo, "a");
  Leave();
  EXPECT_TRUE(next->hasFocus());
  EXPECT_EQ(services.Boxes.size(), 1u);
}

TEST_F(MyComboBoxTest, InvalidExitWithoutMessageBeeps) {
  int exits = 0;
  combo->OnExit = [&](TObject*) { ++exits; };
  TypeText(combo, "Roma");  // no entries at all
  QTest::keyClick(combo, Qt::Key_Tab);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(services.Beeps, (std::vector<unsigned>{MB_SIMPLEBEEP}));
  EXPECT_TRUE(services.Boxes.empty());
  ProcessPosted();
  EXPECT_TRUE(combo->hasFocus());
}

TEST_F(MyComboBoxTest, TwoInvalidNeighboursShowOneBoxAndTheFocusSettles) {
  auto* other = new TMyComboBox(&form);
  other->setGeometry(0, 80, 120, 24);
  other->show();
  for (TMyComboBox* c : {combo, other}) {
    c->SetRequired(true);
    c->SetErrorMessage("Obbligatorio");
  }
  other->setFocus();
  for (int i = 0; i < 5; ++i) ProcessPosted();
  EXPECT_TRUE(combo->hasFocus());
  EXPECT_EQ(services.Boxes.size(), 1u);
}

TEST_F(MyComboBoxTest, AReadOnlyBoxTakesNoKeysAndLetsTheFocusGo) {
  combo->SetCharFilter(chDate);
  combo->SetRequired(true);  // empty, so invalid
  combo->SetReadOnly(true);
  TypeText(combo, "5");
  EXPECT_EQ(combo->Text(), "");
  Leave();
  EXPECT_TRUE(next->hasFocus());
  EXPECT_TRUE(services.Beeps.empty());
}

TEST_F(MyComboBoxTest, InputMethodTextIsFilteredLikeTypedText) {
  combo->SetCharFilter(chNumber);
  CommitText(combo, QString::fromUtf8("\u00e91x2"));
  EXPECT_EQ(combo->Text(), "12");
}

TEST_F(MyComboBoxTest, OpeningTheListIsNoExit) {
  int exits = 0;
  combo->OnExit = [&](TObject*) { ++exits; };
  TypeText(combo, "Rom");  // invalid: an exit would beep
  combo->Items().Add("Roma");
  OpenList();
  QTest::keyClick(combo->view(), Qt::Key_Escape);
  ProcessPosted();
  EXPECT_EQ(exits, 0);
  EXPECT_TRUE(services.Beeps.empty());
  EXPECT_TRUE(combo->hasFocus());
}

TEST_F(MyComboBoxTest, SetCharFilterResets) {
  combo->SetCharFilter(chNumber);
  EXPECT_EQ(combo->DateAge(), dtNone);
  combo->SetMinValue(1);
  combo->SetMaxValue(5);
  TypeText(combo, "3");
  combo->SetCharFilter(chNumber);  // the same filter: nothing changes
  EXPECT_EQ(combo->MinValue().AsInteger(), 1);
  EXPECT_EQ(combo->MaxValue().AsInteger(), 5);
  combo->SetDateAge(dt1900);
  combo->SetCharFilter(chDate);
  EXPECT_TRUE(combo->MinValue().IsEmpty());
  EXPECT_TRUE(combo->MaxValue().IsEmpty());
  EXPECT_EQ(combo->DateAge(), dt1900);  // kept for dates
  EXPECT_EQ(combo->Text(), "3");        // the text stays, unfiltered
  combo->SetText("roma");
  combo->SetCharFilter(chAllCaps);
  EXPECT_EQ(combo->DateAge(), dtNone);
  EXPECT_EQ(combo->Text(), "roma");
}

TEST_F(MyComboBoxTest, RegisteredOnTheCustomPage) {
  Mycombobox::Register();
  bool found = false;
  for (const auto& c : RegisteredComponents("Custom")) {
    if (c.ClassName != "TMyComboBox") continue;
    found = true;
    TComponent* created = c.Create(&form);
    EXPECT_NE(dynamic_cast<TMyComboBox*>(created), nullptr);
  }
  EXPECT_TRUE(found);
}

}  // namespace
