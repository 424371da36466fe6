#pragma once
// The example of docs/components.md: a form of one's own with the controls
// of the palette page "Custom", laid out in Designer (PeopleForm.ui) and
// bound to a SQLite database in code.
#include <vector>

#include "combos/MyComboBox.h"
#include "combos/MyDBLookupComboBox.h"
#include "controls/MyEdit.h"
#include "framework/db/DataSet.h"
#include "framework/db/DataSource.h"
#include "framework/db/Database.h"
#include "framework/forms/Form.h"
#include "grid/MyDBGrid.h"
#include "ui_PeopleForm.h"

class TPeopleForm : public TForm, public Ui::PeopleForm {
  Q_OBJECT
 public:
  // DatabaseName: a SQLite file with the tables person and city.
  TPeopleForm(TOwnerArg AOwner, const AnsiString& DatabaseName);

  // Placed in code rather than in the layout.
  TMyEdit* AgeEdit;
  TDataSet* People;
  TDataSet* Cities;

  // Named by the layout for CityCombo's OnInvalidValue.
  void CityComboInvalidValue(TObject* Sender, AnsiString TextValue);
  AnsiString RefusedCity;

 protected:
  std::vector<TPublishedMethod> PublishedMethods() override;
};
