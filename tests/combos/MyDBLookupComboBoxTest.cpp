#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QTest>
#include <string>
#include <vector>

#include "combos/EditLookupComboBox.h"
#include "combos/MyDBLookupComboBox.h"
#include "framework/forms/Edit.h"
#include "framework/forms/Form.h"
#include "framework/forms/Palette.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Typing.h"

namespace {

// People and the cities they live in: Roma, Rovigo and Torino, in this order.
// A person names a city by its code (text) and by its id (integer).
class LookupPairTest : public testing::Test {
 protected:
  void SetUp() override {
    db.Db->ExecSQL(
        "CREATE TABLE city (id INTEGER PRIMARY KEY, code VARCHAR(5), name VARCHAR(40));"
        "INSERT INTO city VALUES (1, 'RM', 'Roma'), (2, 'RO', 'Rovigo'), (3, 'TO', 'Torino');"
        "CREATE TABLE person (id INTEGER PRIMARY KEY, name TEXT, city_code VARCHAR(5),"
        " city_id INTEGER);"
        "INSERT INTO person VALUES (1, 'Mario', 'RM', 1), (2, 'Anna', NULL, NULL);");
    people->Open();
    cities->Open();
    peopleSource.SetDataSet(people.get());
    citySource.SetDataSet(cities.get());
    before = new TEdit(&form);
    combo = new TMyDBLookupComboBox(&form);
    after = new TEdit(&form);
    before->setGeometry(0, 0, 120, 22);
    combo->setGeometry(0, 40, 150, 24);
    after->setGeometry(0, 80, 120, 22);
    Bind(combo, "city_code", "code");
    combo->OnEnter = [this](TObject*) { log.push_back("enter"); };
    combo->OnExit = [this](TObject*) { log.push_back("exit"); };
    combo->OnInvalidValue = [this](TObject* Sender, AnsiString Text) {
      EXPECT_EQ(Sender, combo);
      log.push_back("invalid " + Text);
    };
    ShowActive(&form);
    before->setFocus();
  }
  void Bind(TMyDBLookupComboBox* C, const AnsiString& Field, const AnsiString& Key) {
    C->SetDataSource(&peopleSource);
    C->SetDataField(Field);
    C->SetListSource(&citySource);
    C->SetKeyField(Key);
    C->SetListField("name");
  }
  // Tabs into the pair and lets the focus settle in the typing box.
  TEditLookupComboBox* Enter() {
    QTest::keyClick(before, Qt::Key_Tab);
    ProcessPosted();
    return combo->EditBox();
  }
  // Comes back into the pair from the control after it.
  TEditLookupComboBox* EnterBack() {
    after->setFocus();
    QTest::keyClick(after, Qt::Key_Tab, Qt::ShiftModifier);
    Settle();
    return combo->EditBox();
  }
  // Replaces the box's text by typing, then leaves the pair with Tab.
  void TypeAndLeave(TEditLookupComboBox* Box, const AnsiString& Text) {
    Box->lineEdit()->selectAll();
    TypeText(Box, Text);
    QTest::keyClick(Box, Qt::Key_Tab);
    Settle();
  }
  void Settle() {
    for (int i = 0; i < 4; ++i) ProcessPosted();
  }
  QWidget* Focused() const { return QApplication::focusWidget(); }
  AnsiString City() const { return people->FieldByName("city_code")->AsString(); }

  TRecordingServices services;
  TTestDatabase db;
  std::unique_ptr<TDataSet> people = db.Table("person");
  std::unique_ptr<TDataSet> cities = db.Table("city");
  TDataSource peopleSource{nullptr};
  TDataSource citySource{nullptr};
  TForm form{nullptr};
  TEdit* before;
  TMyDBLookupComboBox* combo;
  TEdit* after;
  std::vector<AnsiString> log;
};

TEST_F(LookupPairTest, EnteringByKeyboardLaysTheTypingBoxOverTheControl) {
  EXPECT_EQ(combo->Text(), "Roma");
  TEditLookupComboBox* box = Enter();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Name(), "EditBox");
  EXPECT_EQ(box->Owner(), &form);
  EXPECT_EQ(box->parentWidget(), combo);
  EXPECT_EQ(box->geometry(), QRect(-2, -2, combo->width(), combo->height()));
  EXPECT_EQ(box->Text(), "Roma");
  EXPECT_EQ(Focused(), box);
  EXPECT_TRUE(combo->ListMatch);
  EXPECT_EQ(log, (std::vector<AnsiString>{"enter"}));
}

TEST_F(LookupPairTest, APressOnTheTextGivesTheBoxTheFocusAndNoList) {
  QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(20, 12));
  Settle();
  ASSERT_NE(combo->EditBox(), nullptr);
  EXPECT_EQ(Focused(), combo->EditBox());
  EXPECT_FALSE(combo->ListVisible());
  EXPECT_TRUE(combo->ListMatch);
}

TEST_F(LookupPairTest, APressOnTheButtonStripKeepsTheFocusWithTheOpenList) {
  QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 8, 12));
  Settle();
  ASSERT_NE(combo->EditBox(), nullptr);
  EXPECT_TRUE(combo->ListVisible());
  EXPECT_EQ(combo->ListView()->currentIndex().row(), 0);  // Roma, the shown value
  EXPECT_TRUE(combo->hasFocus() || Focused() == combo->ListView());
  // Keys drive the list: Down, then Enter picks Rovigo.
  QTest::keyClick(combo->ListView(), Qt::Key_Down);
  QTest::keyClick(combo->ListView(), Qt::Key_Return);
  Settle();
  EXPECT_EQ(City(), "RO");
  EXPECT_EQ(combo->EditBox()->Text(), "Rovigo");
  EXPECT_EQ(Focused(), combo->EditBox());
}

struct Typed {
  AnsiString Keys;
  AnsiString Shown;
  int Caret;
  bool Match;
};

void PrintTo(const Typed& t, std::ostream* os) { *os << t.Keys; }

class Search : public LookupPairTest, public testing::WithParamInterface<std::vector<Typed>> {};

// Each key searches the list as a prefix, ignoring case, and completes the
// text after the caret.
TEST_P(Search, CompletesWhatIsTyped) {
  TEditLookupComboBox* box = Enter();
  box->lineEdit()->selectAll();
  QTest::keyClick(box, Qt::Key_Delete);
  for (const Typed& step : GetParam()) {
    TypeText(box, step.Keys);
    EXPECT_EQ(box->Text(), step.Shown) << step.Keys;
    EXPECT_EQ(box->SelStart(), step.Caret) << step.Keys;
    EXPECT_EQ(box->SelLength(), 0) << step.Keys;
    EXPECT_EQ(combo->ListMatch, step.Match) << step.Keys;
  }
}

INSTANTIATE_TEST_SUITE_P(Pair, Search,
                         testing::Values(std::vector<Typed>{{"R", "Roma", 1, true},
                                                            {"o", "Roma", 2, true},
                                                            {"v", "Rovigo", 3, true},
                                                            {"x", "Rovx", 4, false}},
                                         std::vector<Typed>{{"t", "Torino", 1, true},
                                                            {"OR", "Torino", 3, true}}));

TEST_F(LookupPairTest, ABoxListenerSeesWhatWasTypedThenTheCompletion) {
  TEditLookupComboBox* box = Enter();
  std::vector<AnsiString> seen;
  box->OnChange = [&](TObject*) { seen.push_back(box->Text()); };
  box->SetSelStart(2);
  TypeText(box, "v");
  EXPECT_EQ(box->Text(), "Rovigo");
  EXPECT_EQ(box->SelStart(), 3);
  EXPECT_EQ(seen, (std::vector<AnsiString>{"Rovma"}));
}

TEST_F(LookupPairTest, BackspaceSearchesWhatIsLeft) {
  TEditLookupComboBox* box = Enter();
  box->SetSelStart(2);
  TypeText(box, "v");
  EXPECT_EQ(box->Text(), "Rovigo");
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(box->Text(), "Roma");
  EXPECT_EQ(box->SelStart(), 2);
  box->lineEdit()->selectAll();
  QTest::keyClick(box, Qt::Key_Backspace);
  EXPECT_EQ(box->Text(), "");
}

TEST_F(LookupPairTest, AFieldOfSizeZeroSearchesTheWholeText) {
  Bind(combo, "city_id", "id");
  TEditLookupComboBox* box = Enter();
  EXPECT_EQ(box->Text(), "Roma");
  box->SetSelStart(1);
  TypeText(box, "o");  // "Rooma": searched whole, no match, cut back to "Ro"
  EXPECT_EQ(box->Text(), "Ro");
  EXPECT_FALSE(combo->ListMatch);
}

TEST_F(LookupPairTest, OpeningTheBoxListCommitsThenOpensTheControlsList) {
  TEditLookupComboBox* box = Enter();
  box->lineEdit()->selectAll();
  TypeText(box, "Tor");
  int boxExits = 0;
  box->OnExit = [&](TObject*) { ++boxExits; };
  box->showPopup();
  EXPECT_EQ(City(), "TO");  // committed as on exit
  EXPECT_TRUE(combo->ListVisible());
  EXPECT_EQ(boxExits, 1);
  Settle();
  EXPECT_EQ(combo->EditBox(), box);  // the box stays
  EXPECT_EQ(boxExits, 2);            // its exit runs again as the focus moves to the control
  // A pick writes the key, shows its text in the box and gives the box the focus.
  QAbstractItemView* list = combo->ListView();
  const QRect cell = list->visualRect(list->model()->index(0, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  Settle();
  EXPECT_FALSE(combo->ListVisible());
  EXPECT_EQ(City(), "RM");
  EXPECT_EQ(box->Text(), "Roma");
  EXPECT_TRUE(combo->ListMatch);
  EXPECT_EQ(Focused(), box);
  EXPECT_EQ(log, (std::vector<AnsiString>{"enter"}));
}

TEST_F(LookupPairTest, LeavingWithAMatchWritesItsKey) {
  TypeAndLeave(Enter(), "tor");
  EXPECT_EQ(City(), "TO");
  EXPECT_EQ(people->State(), dsEdit);  // put into edit mode and left there
  EXPECT_EQ(combo->Text(), "Torino");
  EXPECT_EQ(combo->EditBox(), nullptr);
  EXPECT_EQ(Focused(), after);
  EXPECT_EQ(log, (std::vector<AnsiString>{"enter", "exit"}));
}

TEST_F(LookupPairTest, LeavingWithoutAMatchReportsTheTextAndComesBack) {
  TEditLookupComboBox* box = Enter();
  TypeAndLeave(box, "Milano");
  EXPECT_EQ(log, (std::vector<AnsiString>{"enter", "invalid Milano", "exit", "enter"}));
  EXPECT_EQ(City(), "RM");  // unchanged
  ASSERT_NE(combo->EditBox(), nullptr);
  EXPECT_NE(combo->EditBox(), box);
  EXPECT_EQ(combo->EditBox()->Text(), "Roma");  // the old display text
  EXPECT_EQ(Focused(), combo->EditBox());
  EXPECT_TRUE(services.Beeps.empty());
  EXPECT_TRUE(services.Boxes.empty());
}

TEST_F(LookupPairTest, AnUnmatchedTextIsDroppedWhenNothingIsShownOrTheListIsNotExact) {
  people->Next();  // Anna, no city
  TEditLookupComboBox* box = Enter();
  TypeText(box, "Milano");
  QTest::keyClick(box, Qt::Key_Tab);
  Settle();
  EXPECT_EQ(Focused(), after);
  people->Cancel();
  people->First();  // Mario, in Roma
  combo->SetExactListValue(false);
  box = EnterBack();
  ASSERT_NE(box, nullptr);
  TypeAndLeave(box, "Milano");
  EXPECT_EQ(Focused(), after);
  EXPECT_EQ(City(), "RM");
  EXPECT_EQ(std::count(log.begin(), log.end(), "invalid Milano"), 0);
}

TEST_F(LookupPairTest, ClearingTheBoxClearsTheField) {
  TEditLookupComboBox* box = Enter();
  box->lineEdit()->selectAll();
  QTest::keyClick(box, Qt::Key_Delete);
  QTest::keyClick(box, Qt::Key_Tab);
  Settle();
  EXPECT_TRUE(people->FieldByName("city_code")->IsNull());
  EXPECT_EQ(Focused(), after);
}

TEST_F(LookupPairTest, ShiftTabFromTheBoxGoesToTheControlBefore) {
  TEditLookupComboBox* box = Enter();
  QTest::keyClick(box, Qt::Key_Tab, Qt::ShiftModifier);
  Settle();
  EXPECT_EQ(Focused(), before);
  EXPECT_EQ(combo->EditBox(), nullptr);
}

TEST_F(LookupPairTest, ListFieldIndexChoosesTheSearchedField) {
  combo->SetListField("code;name");
  combo->SetListFieldIndex(1);
  TEditLookupComboBox* box = Enter();
  EXPECT_EQ(box->Text(), "Roma");
  box->lineEdit()->selectAll();
  TypeText(box, "Ro");
  EXPECT_EQ(box->Text(), "Roma");
  QTest::keyClick(box, Qt::Key_Tab);
  Settle();
  combo->SetListFieldIndex(2);  // past the last name: nothing is shown or searched
  EXPECT_EQ(combo->Text(), "");
  box = EnterBack();
  ASSERT_NE(box, nullptr);
  TypeText(box, "Ro");
  EXPECT_EQ(box->Text(), "Ro");
}

TEST_F(LookupPairTest, CharFilterReachesTheBoxAtOnce) {
  combo->SetCharFilter(chAllCaps);
  TEditLookupComboBox* box = Enter();
  EXPECT_EQ(box->CharFilter(), chAllCaps);
  box->lineEdit()->selectAll();
  TypeText(box, "to");
  EXPECT_EQ(box->Text(), "TORINO");  // the record's value, filtered
  combo->SetCharFilter(chFirstCap);
  EXPECT_EQ(box->CharFilter(), chFirstCap);
}

// A lookup field: the key goes into the data set's key field, and the list
// standing on another record at entry never carries that record's key in.
TEST_F(LookupPairTest, ALookupFieldWritesOnlyTheShownRecordsKey) {
  people->Close();
  TField* city = people->AddField("city", fkLookup);
  city->SetKeyFields("city_id");
  city->SetLookupDataSet(cities.get());
  city->SetLookupKeyFields("id");
  city->SetLookupResultField("name");
  people->Open();
  combo->SetListSource(nullptr);
  combo->SetDataField("city");
  EXPECT_EQ(combo->Text(), "Roma");
  cities->Last();  // Torino
  TEditLookupComboBox* box = Enter();
  QTest::keyClick(box, Qt::Key_Tab);
  Settle();
  EXPECT_EQ(people->FieldByName("city_id")->AsInteger(), 1);
  cities->Last();
  box = EnterBack();
  ASSERT_NE(box, nullptr);
  TypeAndLeave(box, "rov");
  EXPECT_EQ(people->FieldByName("city_id")->AsInteger(), 2);
  EXPECT_EQ(combo->Text(), "Rovigo");
}

TEST_F(LookupPairTest, AnInsertedRecordStaysInInsertState) {
  people->Append();
  TEditLookupComboBox* box = Enter();
  TypeText(box, "Rov");
  QTest::keyClick(box, Qt::Key_Tab);
  Settle();
  EXPECT_EQ(people->State(), dsInsert);
  EXPECT_EQ(City(), "RO");
}

TEST_F(LookupPairTest, TwoInvalidPairsLetTheFocusSettle) {
  auto* other = new TMyDBLookupComboBox(&form);
  other->setGeometry(0, 120, 150, 24);
  Bind(other, "city_id", "id");
  other->show();
  QWidget::setTabOrder(combo, other);
  int otherInvalid = 0;
  other->OnInvalidValue = [&](TObject*, AnsiString) { ++otherInvalid; };
  // The other pair holds an unmatched text in its box and is left for this one.
  other->setFocus();
  Settle();
  ASSERT_NE(other->EditBox(), nullptr);
  other->EditBox()->lineEdit()->selectAll();
  TypeText(other->EditBox(), "Milano");
  combo->setFocus();
  Settle();
  EXPECT_EQ(otherInvalid, 1);
  EXPECT_TRUE(Focused() == other->EditBox() && Focused() != nullptr);
  EXPECT_EQ(std::count(log.begin(), log.end(), "invalid "), 0);
}

TEST_F(LookupPairTest, AStoredLayoutBindsOnInvalidValueByName) {
  AnsiString reported;
  const TInvalidValueEvent handler = [&](TObject*, AnsiString Text) { reported = Text; };
  EXPECT_TRUE(combo->BindEvent("OnInvalidValue", {"CityInvalid", handler}));
  combo->OnInvalidValue(combo, "x");
  EXPECT_EQ(reported, "x");
  EXPECT_TRUE(combo->BindEvent("OnExit", {"CityExit", TNotifyEvent([](TObject*) {})}));
  EXPECT_FALSE(combo->BindEvent("OnCellExport", {"CityExit", TNotifyEvent()}));
}

TEST_F(LookupPairTest, RegisteredOnTheCustomPageWithoutItsTypingBox) {
  Mydblookupcombobox::Register();
  std::vector<AnsiString> names;
  for (const auto& c : RegisteredComponents("Custom")) names.push_back(c.ClassName);
  EXPECT_NE(std::find(names.begin(), names.end(), "TMyDBLookupComboBox"), names.end());
  EXPECT_EQ(std::find(names.begin(), names.end(), "TEditLookupComboBox"), names.end());
}

}  // namespace
