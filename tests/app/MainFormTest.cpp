#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <string>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "framework/forms/Application.h"
#include "framework/forms/FocusTracker.h"
#include "tests/support/Locales.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/Settings.h"
#include "tests/support/Typing.h"

namespace {

class MainFormTest : public testing::Test {
 protected:
  void SetUp() override {
    saved = FormatSettings;
    FormatSettings = CommaSettings();
    FormatSettings.CurrencyString = "EUR";  // the window empties it when shown
    FormatSettings.CurrencyDecimals = 0;
    app.SetTitle("Astrevo");
    app.CreateForm(MainForm);
    form = MainForm;
    ShowActive(form);
  }
  void TearDown() override {
    FormatSettings = saved;
    MainForm = nullptr;
  }
  TMyEdit* Field(const char* name) { return dynamic_cast<TMyEdit*>(form->FindComponent(name)); }
  void Fill(const std::array<const char*, 8>& texts) {
    const char* names[] = {"I1S1XEdit", "I1S1YEdit", "I1S2XEdit", "I1S2YEdit",
                           "I2S1XEdit", "I2S1YEdit", "I2S2XEdit", "I2S2YEdit"};
    for (int i = 0; i < 8; ++i) Field(names[i])->SetText(texts[i]);
  }
  void FillWorkedExample() { Fill({"100", "200", "300", "250", "120", "180", "250", "330"}); }

  TFormatSettings saved;
  TRecordingServices services;
  TApplication app;
  TMainForm* form = nullptr;
};

struct Placed {
  const char* name;
  const char* parent;
  int left, top, width, height;
  const char* caption;
  int tabOrder;  // -1: not a focus-taking control
};

void PrintTo(const Placed& p, std::ostream* os) { *os << p.name; }

const Placed kLayout[] = {
    {"GRStella1", "MainForm", 12, 12, 229, 85, " STAR 1 ", 0},
    {"GRStella2", "MainForm", 12, 106, 229, 85, " STAR 2  ", 1},
    {"CalcButton", "MainForm", 284, 120, 129, 25, "Calculate", 2},
    {"CancelButton", "MainForm", 284, 152, 129, 25, "Exit", 3},
    {"GRRisult", "MainForm", 254, 12, 189, 85, " Result ", 4},
    {"Label1", "GRStella1", 16, 26, 38, 13, "Image 1", -1},
    {"Label2", "GRStella1", 86, 26, 7, 13, "X", -1},
    {"Label3", "GRStella1", 156, 26, 7, 13, "Y", -1},
    {"Label4", "GRStella1", 16, 54, 38, 13, "Image 2", -1},
    {"Label5", "GRStella1", 86, 54, 7, 13, "X", -1},
    {"Label6", "GRStella1", 156, 54, 7, 13, "Y", -1},
    {"I1S1XEdit", "GRStella1", 98, 22, 43, 21, "", 0},
    {"I1S1YEdit", "GRStella1", 168, 22, 43, 21, "", 1},
    {"I2S1XEdit", "GRStella1", 98, 50, 43, 21, "", 2},
    {"I2S1YEdit", "GRStella1", 168, 50, 43, 21, "", 3},
    {"Label7", "GRStella2", 16, 26, 38, 13, "Image 1", -1},
    {"Label8", "GRStella2", 86, 26, 7, 13, "X", -1},
    {"Label9", "GRStella2", 156, 26, 7, 13, "Y", -1},
    {"Label10", "GRStella2", 16, 54, 38, 13, "Image 2", -1},
    {"Label11", "GRStella2", 86, 54, 7, 13, "X", -1},
    {"Label12", "GRStella2", 156, 54, 7, 13, "Y", -1},
    {"I1S2XEdit", "GRStella2", 98, 22, 43, 21, "", 0},
    {"I1S2YEdit", "GRStella2", 168, 22, 43, 21, "", 1},
    {"I2S2XEdit", "GRStella2", 98, 50, 43, 21, "", 2},
    {"I2S2YEdit", "GRStella2", 168, 50, 43, 21, "", 3},
    {"Label13", "GRRisult", 16, 26, 32, 13, "Resize", -1},
    {"Label14", "GRRisult", 134, 26, 8, 13, "%", -1},
    {"Label15", "GRRisult", 16, 54, 32, 13, "Rotate", -1},
    {"Label16", "GRRisult", 134, 54, 38, 13, "degrees", -1},
    {"ScaleEdit", "GRRisult", 62, 22, 63, 21, "", 0},
    {"RotEdit", "GRRisult", 62, 50, 63, 21, "", 1},
};

class Layout : public MainFormTest, public testing::WithParamInterface<Placed> {};

TEST_P(Layout, PlacesEveryControlAsStored) {
  const Placed& p = GetParam();
  auto* control = dynamic_cast<TControl*>(form->FindComponent(p.name));
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->Owner(), form);  // the form owns every control
  EXPECT_EQ(control->Widget()->parentWidget()->objectName().toStdString(), p.parent);
  EXPECT_EQ(control->Left(), p.left);
  EXPECT_EQ(control->Top(), p.top);
  AnsiString caption;
  if (auto* l = dynamic_cast<TLabel*>(control)) {
    // Labels size themselves to their caption in the font they are drawn with.
    caption = l->Caption();
    EXPECT_EQ(l->Width(), l->fontMetrics().horizontalAdvance(l->text()));
    EXPECT_GE(l->Height(), p.height);
  } else {
    EXPECT_EQ(control->Width(), p.width);
    EXPECT_EQ(control->Height(), p.height);
  }
  if (auto* g = dynamic_cast<TGroupBox*>(control)) caption = g->Caption();
  if (auto* b = dynamic_cast<TBitBtn*>(control)) caption = b->Caption();
  if (auto* e = dynamic_cast<TMyEdit*>(control)) {
    caption = e->Text();
    EXPECT_EQ(e->CharFilter(), chDefault);
    EXPECT_EQ(e->DateAge(), dtCurrent);
    EXPECT_TRUE(e->MinValue().IsEmpty() && e->MaxValue().IsEmpty());
  }
  EXPECT_EQ(caption, p.caption);
  if (p.tabOrder >= 0) {
    auto* w = dynamic_cast<TWinControl*>(control);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->TabOrder(), p.tabOrder);
  }
}

INSTANTIATE_TEST_SUITE_P(MainWindow, Layout, testing::ValuesIn(kLayout),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainFormTest, WindowPropertiesAndResultFields) {
  EXPECT_EQ(form->Name(), "MainForm");
  EXPECT_EQ(form->Caption(), "Astrevo");
  EXPECT_EQ(form->pos(), QPoint(192, 107));
  EXPECT_EQ(form->size(), QSize(462, 212));  // the client area of a 470 x 239 window
  EXPECT_EQ(form->font().pointSize(), 8);
  for (const char* name : {"ScaleEdit", "RotEdit"}) {
    EXPECT_TRUE(Field(name)->ReadOnly()) << name;
    EXPECT_FALSE(Field(name)->TabStop()) << name;
    EXPECT_EQ(Field(name)->OnKeyPress, nullptr) << name;
  }
  auto* calc = dynamic_cast<TBitBtn*>(form->FindComponent("CalcButton"));
  EXPECT_FALSE(calc->icon().isNull());
  EXPECT_EQ(calc->NumGlyphs(), 2);
  EXPECT_EQ(dynamic_cast<TBitBtn*>(form->FindComponent("CancelButton"))->Kind(), bkClose);
}

TEST_F(MainFormTest, TabVisitsTheFieldsStarByStarThenTheButtons) {
  EXPECT_TRUE(Field("I1S1XEdit")->hasFocus());  // the first control when first activated
  const char* order[] = {"I1S1YEdit", "I2S1XEdit", "I2S1YEdit",  "I1S2XEdit",    "I1S2YEdit",
                         "I2S2XEdit", "I2S2YEdit", "CalcButton", "CancelButton", "I1S1XEdit"};
  for (const char* name : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), name);
  }
  // The result fields are skipped, but take the focus when clicked.
  QTest::mouseClick(Field("ScaleEdit"), Qt::LeftButton);
  EXPECT_TRUE(Field("ScaleEdit")->hasFocus());
}

TEST_F(MainFormTest, KeyFilterAdmitsDigitsAndTheDecimalMark) {
  QApplication::clipboard()->setText("999");
  TMyEdit* x = Field("I1S1XEdit");
  TypeText(x, "1.5a -+\xE8");
  QTest::keyClick(x, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(x->Text(), "1,5");
  QTest::keyClick(x, Qt::Key_Backspace);
  EXPECT_EQ(x->Text(), "1,");
  FormatSettings.DecimalSeparator = '.';  // a full-stop locale
  TMyEdit* y = Field("I1S1YEdit");
  y->setFocus();
  TypeText(y, "1.5,2");
  EXPECT_EQ(y->Text(), "1.5.2");
  EXPECT_TRUE(services.Beeps.empty());
  EXPECT_TRUE(services.Boxes.empty());
}

TEST_F(MainFormTest, CalculateShowsTheResults) {
  EXPECT_EQ(FormatSettings.CurrencyString, "");  // emptied when the window was shown
  EXPECT_EQ(FormatSettings.CurrencyDecimals, 2);
  FillWorkedExample();
  dynamic_cast<TBitBtn*>(form->FindComponent("CalcButton"))->click();
  EXPECT_EQ(Field("ScaleEdit")->Text(), "103,86");
  EXPECT_EQ(Field("RotEdit")->Text(), "-35,05");
  EXPECT_TRUE(services.Boxes.empty());
}

TEST_F(MainFormTest, EnterInAnyCoordinateFieldCalculatesAndIsSwallowed) {
  for (const char* name : {"I1S1XEdit", "I2S1YEdit", "I1S2YEdit", "I2S2YEdit"}) {
    Field("ScaleEdit")->SetText("");
    FillWorkedExample();
    TMyEdit* field = Field(name);
    field->setFocus();
    QSignalSpy returns(field, &QLineEdit::returnPressed);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(Field("ScaleEdit")->Text(), "103,86") << name;
    EXPECT_EQ(returns.count(), 0) << name;
  }
  // The result fields have no key handler.
  Field("ScaleEdit")->SetText("");
  Field("ScaleEdit")->setFocus();
  QTest::keyClick(Field("ScaleEdit"), Qt::Key_Return);
  EXPECT_EQ(Field("ScaleEdit")->Text(), "");
}

TEST_F(MainFormTest, EnterPressesTheFocusedButton) {
  FillWorkedExample();
  auto* calc = dynamic_cast<TBitBtn*>(form->FindComponent("CalcButton"));
  calc->setFocus();
  QTest::keyClick(calc, Qt::Key_Return);
  EXPECT_EQ(Field("ScaleEdit")->Text(), "103,86");
  auto* exit = dynamic_cast<TBitBtn*>(form->FindComponent("CancelButton"));
  exit->setFocus();
  QTest::keyClick(exit, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(MainFormTest, ALongResultShowsItsStart) {
  Fill({"0", "0", "100000", "0", "0", "0", "1", "0"});
  QTest::keyClick(Field("I1S1XEdit"), Qt::Key_Return);
  TMyEdit* scale = Field("ScaleEdit");
  EXPECT_EQ(scale->Text(), "10.000.000,00");
  EXPECT_EQ(scale->cursorPosition(), 0);
  EXPECT_LT(scale->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), 10);
}

TEST_F(MainFormTest, AnEmptyFieldAsksForAllValuesAndLeavesTheResults) {
  FillWorkedExample();
  QTest::keyClick(Field("I1S1XEdit"), Qt::Key_Return);
  Field("I2S1YEdit")->SetText("");
  Field("I1S1XEdit")->SetText("x");  // would not convert: emptiness is tested first
  QTest::keyClick(Field("I1S1XEdit"), Qt::Key_Return);
  ASSERT_EQ(services.Boxes.size(), 1u);
  EXPECT_EQ(services.Boxes[0].Text, "Indicare tutti i valori.");
  EXPECT_EQ(services.Boxes[0].Caption, "Errore");
  EXPECT_EQ(services.Boxes[0].Flags, 1u);
  EXPECT_EQ(Field("ScaleEdit")->Text(), "103,86");  // the earlier results stay
  EXPECT_EQ(Field("RotEdit")->Text(), "-35,05");
  EXPECT_TRUE(Field("I1S1XEdit")->hasFocus());  // the empty field is not focused
}

TEST_F(MainFormTest, FailuresGoToTheDefaultErrorDisplayAndTheWindowStaysUsable) {
  FillWorkedExample();
  Field("I1S2XEdit")->SetText("1,2,3");
  QTest::keyClick(Field("I1S1XEdit"), Qt::Key_Return);
  Fill({"1", "1", "2", "2", "5", "5", "5", "9"});  // the same X in image 2
  QTest::keyClick(Field("I1S1XEdit"), Qt::Key_Return);
  ASSERT_EQ(services.Boxes.size(), 2u);
  EXPECT_EQ(services.Boxes[0].Text, "'1,2,3' is not a valid floating point value.");
  EXPECT_EQ(services.Boxes[0].Caption, "Astrevo");
  EXPECT_EQ(services.Boxes[0].Flags, MB_OK | MB_ICONSTOP);
  EXPECT_EQ(services.Boxes[1].Text, "Floating point division by zero.");
  EXPECT_EQ(Field("ScaleEdit")->Text(), "");
  FillWorkedExample();
  QTest::keyClick(Field("I1S1XEdit"), Qt::Key_Return);
  EXPECT_EQ(Field("ScaleEdit")->Text(), "103,86");
  EXPECT_TRUE(form->isVisible());
}

// Counts the close requests a widget receives.
struct CloseCounter : QObject {
  int closes = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Close) ++closes;
    return false;
  }
};

TEST_F(MainFormTest, ExitMakesExactlyOneCloseRequestAndEndsTheLoop) {
  CloseCounter counter;
  form->installEventFilter(&counter);
  dynamic_cast<TBitBtn*>(form->FindComponent("CancelButton"))->click();
  EXPECT_EQ(counter.closes, 1);
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(app.Terminated());
}

TEST_F(MainFormTest, TheTitleBarCloseEndsTheLoopToo) {
  QTimer::singleShot(0, form, [this] { form->close(); });
  app.Run();
  EXPECT_TRUE(app.Terminated());
}

TEST_F(MainFormTest, ARegionalChangeBringsTheCurrencyBack) {
  const std::string dir = CompiledLocaleDir("it_IT", "UTF-8", "it_IT.UTF-8");
  if (dir.empty()) GTEST_SKIP() << "localedef could not build it_IT";
  setenv("LOCPATH", dir.c_str(), 1);
  setenv("LC_ALL", "it_IT.UTF-8", 1);
  QEvent change(QEvent::LocaleChange);
  QApplication::sendEvent(qApp, &change);
  unsetenv("LC_ALL");
  unsetenv("LOCPATH");
  EXPECT_EQ(FormatSettings.CurrencyString, "\x80");
  FillWorkedExample();
  QTest::keyClick(Field("I1S1XEdit"), Qt::Key_Return);
  EXPECT_EQ(Field("ScaleEdit")->Text(), "\x80 103,86");
  EXPECT_EQ(Field("RotEdit")->Text(), "-\x80 35,05");
  std::setlocale(LC_ALL, "C");
}

}  // namespace

namespace {

// The whole start-up: title, main window created and shown, the loop ending
// when the window closes, and 0 returned.
TEST(Startup, RunsTheMainWindowUntilItCloses) {
  TRecordingServices services;
  bool shown = false;
  AnsiString title;
  QTimer::singleShot(0, [&] {
    shown = MainForm && MainForm->isVisible();
    title = Application ? Application->Title() : "";
    if (MainForm) MainForm->Close();
  });
  EXPECT_EQ(RunAstrevo(), 0);
  EXPECT_TRUE(shown);
  EXPECT_EQ(title, "Astrevo");
  EXPECT_EQ(MainForm, nullptr);
  EXPECT_EQ(Application, nullptr);
  EXPECT_TRUE(services.Boxes.empty());
}

}  // namespace
