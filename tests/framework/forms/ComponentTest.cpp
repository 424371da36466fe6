#include <gtest/gtest.h>

#include "framework/forms/Edit.h"
#include "framework/forms/Form.h"
#include "framework/forms/GroupBox.h"
#include "framework/forms/Palette.h"
#include "framework/rtl/Component.h"
#include "framework/rtl/Exceptions.h"

namespace {

struct Probe : TComponent {
  Probe(TComponent* Owner, int* Deaths) : TComponent(Owner), deaths(Deaths) {}
  ~Probe() override { ++*deaths; }
  int* deaths;
};

TEST(Component, OwnerDestroysWhatItOwns) {
  int deaths = 0;
  auto* owner = new TComponent(nullptr);
  new Probe(owner, &deaths);
  auto* second = new Probe(owner, &deaths);
  delete second;  // leaves the owner's list
  EXPECT_EQ(owner->ComponentCount(), 1);
  delete owner;
  EXPECT_EQ(deaths, 2);
}

TEST(Component, NamesAreUniqueAmongAnOwnersComponents) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Edit1");
  try {
    b->SetName("EDIT1");
    FAIL();
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message, "A component named EDIT1 already exists");
  }
  EXPECT_EQ(b->Name(), "");
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  EXPECT_THROW(b->SetName("a b"), EComponentError);
  b->SetName("Edit2");
  EXPECT_EQ(owner.FindComponent("edit2"), b);
  a->SetName("Edit1");  // its own name again is fine
  TComponent other(nullptr);
  auto* c = new TComponent(&other);
  c->SetName("Edit1");  // another owner, another namespace
  EXPECT_THROW(c->ChangeOwner(&owner), EComponentError);
  EXPECT_EQ(c->Owner(), &other);
}

// A form owns controls that are also children of other controls: destroying
// either way must destroy each exactly once.
TEST(Component, ControlsOwnedByTheFormInsideAGroupBox) {
  auto* form = new TForm(nullptr);
  auto* box = new TGroupBox(form);
  auto* edit = new TEdit(box);
  EXPECT_EQ(edit->parentWidget(), box);
  EXPECT_EQ(edit->Owner(), box);
  edit->ChangeOwner(form);
  EXPECT_EQ(form->ComponentCount(), 2);
  delete box;  // takes the edit with it
  EXPECT_EQ(form->ComponentCount(), 0);
  new TEdit(new TGroupBox(form));
  delete form;
}

TEST(Palette, RegisteredClassesCanBeListedAndCreated) {
  RegisterComponents("Test page",
                     {ComponentClass<TEdit>("TEdit"), ComponentClass<TGroupBox>("TGroupBox")});
  RegisterComponents("Test page", {ComponentClass<TEdit>("TEdit")});  // again: replaced
  const auto classes = RegisteredComponents("Test page");
  ASSERT_EQ(classes.size(), 2u);
  EXPECT_EQ(classes[0].ClassName, "TEdit");
  TForm form(nullptr);
  TComponent* made = classes[0].Create(&form);
  EXPECT_NE(dynamic_cast<TEdit*>(made), nullptr);
  EXPECT_EQ(made->Owner(), &form);
  EXPECT_TRUE(RegisteredComponents("No such page").empty());
}

}  // namespace
