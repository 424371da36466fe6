// Runs the example of docs/components.md on a small database: what the
// layout stores reaches the controls, and the controls show the data.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "framework/rtl/CodePage.h"
#include "tests/docs/PeopleForm.h"

namespace {

class ComponentsExample : public testing::Test {
 protected:
  void SetUp() override {
    const AnsiString path = QStringToAnsi(dir.filePath("people.db"));
    TDatabase db(nullptr);
    db.SetDatabaseName(path);
    db.CreateIfMissing = true;
    db.ExecSQL(
        "CREATE TABLE city (id INTEGER PRIMARY KEY, name VARCHAR(40));"
        "INSERT INTO city VALUES (1, 'Roma'), (2, 'Torino');"
        "CREATE TABLE person (id INTEGER PRIMARY KEY, name VARCHAR(40), city_id INTEGER);"
        "INSERT INTO person VALUES (1, 'Mario', 1), (2, 'Anna', 2);");
    db.Close();
    form = std::make_unique<TPeopleForm>(nullptr, path);
  }
  QTemporaryDir dir;
  std::unique_ptr<TPeopleForm> form;
};

TEST_F(ComponentsExample, WhatTheLayoutStoresReachesTheControls) {
  EXPECT_EQ(form->NameEdit->CharFilter(), chFirstCap);
  EXPECT_TRUE(form->TitleCombo->Required());
  EXPECT_EQ(form->TitleCombo->ErrorMessage(), "Scegliere un titolo.");
  EXPECT_EQ(form->TitleCombo->Items().Count(), 3);
  EXPECT_EQ(form->CityCombo->CharFilter(), chFirstCap);
  EXPECT_TRUE(form->PeopleGrid->CanExport());
  EXPECT_EQ(form->PeopleGrid->Title(), "Persone");
  EXPECT_EQ(form->FindComponent("CityCombo"), form->CityCombo);

  ASSERT_TRUE(form->CityCombo->OnInvalidValue);
  form->CityCombo->OnInvalidValue(form->CityCombo, "Atlantide");
  EXPECT_EQ(form->RefusedCity, "Atlantide");
}

TEST_F(ComponentsExample, TheBoundControlsFollowTheData) {
  EXPECT_EQ(form->CityCombo->Text(), "Roma");
  EXPECT_EQ(form->PeopleGrid->model()->rowCount(), 2);
  EXPECT_EQ(form->PeopleGrid->FieldCount(), 3);
  form->People->Next();
  EXPECT_EQ(form->CityCombo->Text(), "Torino");
}

TEST_F(ComponentsExample, TheEditPlacedInCodeKeepsItsBounds) {
  form->AgeEdit->SetText("120");
  EXPECT_TRUE(form->AgeEdit->ValidData());
  form->AgeEdit->SetText("121");
  EXPECT_FALSE(form->AgeEdit->ValidData());
}

}  // namespace
