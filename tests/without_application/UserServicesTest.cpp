// A command-line tool uses the runtime and the filters without a widget
// application: the default user services must not need one. This program
// has its own main and creates no application unless a case asks for one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "controls/Strcaps.h"
#include "framework/forms/UserServices.h"

namespace {

class WithoutWidgetApplication : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    if (GetParam()) core = std::make_unique<QCoreApplication>(argc, argv);
  }
  int argc = 1;
  char name[5] = "tool";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QCoreApplication> core;
};

TEST_P(WithoutWidgetApplication, RefusedDateKeyBeepsSilently) {
  TStringCaps caps;
  char text[8] = "1";
  int s = 1, e = 1;
  EXPECT_EQ(caps.CharDateProcess('x', text, s, e, dtNone), 0);
  EXPECT_STREQ(text, "1");
}

TEST_P(WithoutWidgetApplication, MessageGoesToTheErrorOutputAndCountsAsConfirmed) {
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBoxA(nullptr, "Indicare tutti i valori.", "Errore", MB_OKCANCEL), IDOK);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Errore: Indicare tutti i valori.\n");
}

INSTANTIATE_TEST_SUITE_P(NoneOrCore, WithoutWidgetApplication, testing::Bool(),
                         [](const auto& info) { return info.param ? "Core" : "None"; });

}  // namespace
