#include <gtest/gtest.h>

#include <QTimer>

#include "framework/forms/Application.h"
#include "framework/forms/BitBtn.h"
#include "framework/forms/Edit.h"
#include "framework/forms/Form.h"
#include "framework/forms/HandlerGuard.h"
#include "framework/rtl/FormatSettings.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/Typing.h"

namespace {

class ApplicationTest : public testing::Test {
 protected:
  TRecordingServices services;
  TApplication app;
};

struct FullStop {
  const char* message;
  const char* shown;
};

class ErrorDisplay : public testing::TestWithParam<FullStop> {};

TEST_P(ErrorDisplay, AddsAFullStopWhenTheLastCharacterSortsAfterIt) {
  EXPECT_EQ(ErrorDisplayText(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ErrorDisplay,
    testing::Values(FullStop{"Floating point overflow", "Floating point overflow."},
                    FullStop{"'1,2,3' is not a valid floating point value",
                             "'1,2,3' is not a valid floating point value."},
                    FullStop{"Done.", "Done."}, FullStop{"Why?", "Why?."}, FullStop{"Wow!", "Wow!"},
                    FullStop{"(x)", "(x)"}, FullStop{"x-", "x-"}, FullStop{"x/", "x/."},
                    FullStop{"citt\xE0", "citt\xE0."}, FullStop{"", ""}));

TEST_F(ApplicationTest, ShowExceptionUsesTheTitleAStopIconAndOk) {
  app.SetTitle("Astrevo");
  app.ShowException(EZeroDivide());
  ASSERT_EQ(services.Boxes.size(), 1u);
  EXPECT_EQ(services.Boxes[0].Text, "Floating point division by zero.");
  EXPECT_EQ(services.Boxes[0].Caption, "Astrevo");
  EXPECT_EQ(services.Boxes[0].Flags, MB_OK | MB_ICONSTOP);
}

TEST_F(ApplicationTest, AHandlerErrorIsShownAndGoesNoFurther) {
  app.SetTitle("T");
  Guarded([] { throw EConvertError("bad"); });
  Guarded([] { throw std::runtime_error("std"); });
  ASSERT_EQ(services.Boxes.size(), 2u);
  EXPECT_EQ(services.Boxes[0].Text, "bad.");
  EXPECT_EQ(services.Boxes[1].Text, "std.");
}

TEST_F(ApplicationTest, MessageBoxPassesTextCaptionAndFlags) {
  TForm* form;
  app.CreateForm(form);
  services.Answer = IDCANCEL;
  EXPECT_EQ(app.MessageBox("Indicare tutti i valori.", "Errore", MB_OKCANCEL), IDCANCEL);
  ASSERT_EQ(services.Boxes.size(), 1u);
  EXPECT_EQ(services.Boxes[0].Flags, MB_OKCANCEL);
  EXPECT_EQ(services.Boxes[0].Owner, form);
}

TEST_F(ApplicationTest, FirstFormIsTheMainFormAndClosingItEndsTheLoop) {
  TForm *first, *second;
  app.CreateForm(first);
  app.CreateForm(second);
  EXPECT_EQ(app.MainForm(), first);
  EXPECT_EQ(first->Owner(), &app);
  int shows = 0;
  first->OnShow = [&](TObject*) { ++shows; };
  QTimer::singleShot(0, [&] { first->Close(); });
  app.Run();  // returns once the main form has closed
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(shows, 1);
}

TEST_F(ApplicationTest, CloseKindClosesItsFormWithoutOnClick) {
  TForm* form;
  app.CreateForm(form);
  auto* button = new TBitBtn(form);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  ShowActive(form);
  button->SetKind(bkClose);
  button->click();
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(app.Terminated());
  button->SetKind(bkCustom);
  button->click();
  EXPECT_EQ(clicks, 1);
}

TEST_F(ApplicationTest, LocaleChangeReloadsTheSettings) {
  FormatSettings.CurrencyString = "changed by the program";
  QEvent change(QEvent::LocaleChange);
  QApplication::sendEvent(qApp, &change);
  EXPECT_NE(FormatSettings.CurrencyString, "changed by the program");
}

}  // namespace
