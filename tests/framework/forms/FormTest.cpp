#include <gtest/gtest.h>

#include "framework/forms/Edit.h"
#include "framework/forms/Form.h"

namespace {

// A form whose layout names its handlers, as a stored form does.
class HandlerForm : public TForm {
 public:
  explicit HandlerForm(const char* Event, const char* Method) : TForm(nullptr) {
    Edit = new TEdit(this);
    Edit->setObjectName("Edit1");
    Edit->setProperty(Event, Method);
  }
  void Load() { Loaded(); }
  TEdit* Edit;
  int Changes = 0;

 protected:
  std::vector<TPublishedMethod> PublishedMethods() override {
    return {{"EditChange", Bind(this, &HandlerForm::EditChange)},
            {"EditKeyPress", Bind(this, &HandlerForm::EditKeyPress)}};
  }

 private:
  void EditChange(TObject*) { ++Changes; }
  void EditKeyPress(TObject*, char&) {}
};

TEST(Form, EachControlBindsItsOwnStoredEvents) {
  HandlerForm form("OnChange", "EditChange");
  form.Load();
  ASSERT_TRUE(form.Edit->OnChange);
  form.Edit->OnChange(form.Edit);
  EXPECT_EQ(form.Changes, 1);
  EXPECT_EQ(form.Edit->Name(), "Edit1");
}

struct BadBinding {
  const char* Event;
  const char* Method;
  const char* Message;
};

class BadBindings : public testing::TestWithParam<BadBinding> {};

TEST_P(BadBindings, AreRefusedWhenTheFormLoads) {
  HandlerForm form(GetParam().Event, GetParam().Method);
  try {
    form.Load();
    FAIL() << "loaded";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message, GetParam().Message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, BadBindings,
    testing::Values(BadBinding{"OnChange", "Nowhere", "Method 'Nowhere' not found"},
                    BadBinding{"OnChange", "EditKeyPress", "Method 'EditKeyPress' not found"},
                    BadBinding{"OnInvalidValue", "EditChange",
                               "Event OnInvalidValue of Edit1 is unknown"}));

}  // namespace
