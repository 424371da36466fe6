#include "tests/docs/PeopleForm.h"

TPeopleForm::TPeopleForm(TOwnerArg AOwner, const AnsiString& DatabaseName) : TForm(AOwner) {
  setupUi(this);  // the controls as placed in Designer
  Loaded();       // the form owns them; stored events are bound

  // A control placed in code: the owner places it, then the filter, then
  // the bounds (a new filter clears them).
  AgeEdit = new TMyEdit(this);
  AgeEdit->SetName("AgeEdit");
  AgeEdit->setGeometry(224, 48, 60, 24);
  AgeEdit->SetCharFilter(chNumber);
  AgeEdit->SetMinValue(0);
  AgeEdit->SetMaxValue(120);

  // The data: one connection, a data set per table, a data source for each.
  auto* database = new TDatabase(this);
  database->SetDatabaseName(DatabaseName);
  People = new TDataSet(this);
  People->SetDatabase(database);
  People->SetTableName("person");
  Cities = new TDataSet(this);
  Cities->SetDatabase(database);
  Cities->SetTableName("city");
  auto* peopleSource = new TDataSource(this);
  peopleSource->SetDataSet(People);
  auto* citySource = new TDataSource(this);
  citySource->SetDataSet(Cities);

  // The person's city_id is shown as the name of that city, picked from city.
  CityCombo->SetDataSource(peopleSource);
  CityCombo->SetDataField("city_id");
  CityCombo->SetListSource(citySource);
  CityCombo->SetKeyField("id");
  CityCombo->SetListField("name");
  // One column per field of person.
  PeopleGrid->SetDataSource(peopleSource);

  Cities->Open();
  People->Open();
}

std::vector<TPublishedMethod> TPeopleForm::PublishedMethods() {
  return {{"CityComboInvalidValue", Bind(this, &TPeopleForm::CityComboInvalidValue)}};
}

void TPeopleForm::CityComboInvalidValue(TObject*, AnsiString TextValue) {
  // The focus is already on its way back to CityCombo.
  RefusedCity = TextValue;
}
