#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

#include "framework/forms/Application.h"
#include "framework/forms/UserServices.h"

namespace {

struct BoxText {
  const char* Name;
  AnsiString Text;
};

void PrintTo(const BoxText& b, std::ostream* os) { *os << b.Name; }

class DesktopBox : public testing::TestWithParam<BoxText> {};

// The box as the desktop shows it: the caption exactly as given, plain text,
// and never wider than the screen.
TEST_P(DesktopBox, KeepsItsCaptionAndFitsTheScreen) {
  TApplication app;
  app.SetTitle("Astrevo");
  const auto box = CreateMessageBox(nullptr, GetParam().Text, "Errore", MB_OK | MB_ICONSTOP);
  box->adjustSize();
  EXPECT_EQ(box->windowTitle(), "Errore");
  // The toolkit appends a display name, when one is set, to every caption.
  EXPECT_NE(QGuiApplication::applicationDisplayName(), "Astrevo");
  EXPECT_LE(box->width(), QGuiApplication::primaryScreen()->availableGeometry().width());
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
  EXPECT_EQ(box->text().remove('\n'), QString::fromLatin1(GetParam().Text.c_str()));
}

INSTANTIATE_TEST_SUITE_P(Texts, DesktopBox,
                         testing::Values(BoxText{"Short", "Indicare tutti i valori."},
                                         BoxText{"OneLongWord",
                                                 "'" + AnsiString(3000, '9') + "' is not valid."},
                                         BoxText{"Markup", "<b>x</b> & <i>y</i>"}),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
