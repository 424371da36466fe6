#pragma once
// The gallery window: every control of the palette page "Custom" on the
// sample database. Edit boxes in each filter and a combo box hold the
// customer's own fields; two lookup combo boxes choose the customer's town,
// one through a plain key field, one through a lookup field; the grid lists
// the customers and exports them. The status line tells the controls'
// events as they happen.
#include <memory>

#include "combos/MyComboBox.h"
#include "combos/MyDBLookupComboBox.h"
#include "controls/MyEdit.h"
#include "framework/db/DataSource.h"
#include "framework/db/Database.h"
#include "framework/forms/BitBtn.h"
#include "framework/forms/Form.h"
#include "framework/forms/GroupBox.h"
#include "framework/forms/Label.h"
#include "grid/MyDBGrid.h"
#include "ui_GalleryForm.h"

class QMenuBar;

class TGalleryForm : public TForm, public Ui::TGalleryFormLayout {
  Q_OBJECT
 public:
  // Opens the sample database at DatabasePath (the user's data folder when
  // empty); a file that cannot be opened is reported and the window stays.
  explicit TGalleryForm(TOwnerArg AOwner, const AnsiString& DatabasePath = "");
  ~TGalleryForm() override;

  void FormShow(TObject* Sender);
  void ControlExit(TObject* Sender);
  void LookupInvalidValue(TObject* Sender, AnsiString TextValue);
  void GridCustomize(TObject* Sender, TMyDBGrid* Grid);
  void SaveButtonClick(TObject* Sender);
  void CancelButtonClick(TObject* Sender);
  void NewButtonClick(TObject* Sender);
  // Adds a million places to the town list, with a progress bar.
  void LoadManyPlaces();

  void ShowStatus(const AnsiString& Text);

  TDatabase Database{nullptr};
  TDataSet Cities{nullptr};
  TDataSet Customers{nullptr};
  TDataSource CitySource{nullptr};
  TDataSource CustomerSource{nullptr};
  QMenuBar* MenuBar;

 protected:
  std::vector<TPublishedMethod> PublishedMethods() override;
  void closeEvent(QCloseEvent* Event) override;

 private:
  class TRecordLink;
  struct TFieldEdit {
    TMyEdit* Edit;
    const char* FieldName;
  };
  void OpenData(const AnsiString& Path);
  // The customer's fields into the edit boxes and the province list.
  void LoadRecord();
  // The edit boxes and the province differ from the record's fields.
  bool EditsChanged() const;
  // Stores the edit boxes into the record and posts it; false, reported,
  // when a value is not valid or the post fails.
  bool SaveRecord();
  // Reports what failed, in the status line and a box; the window stays.
  void Report(const AnsiString& What, const Exception& E);

  std::unique_ptr<TRecordLink> FRecordLink;
  std::vector<TFieldEdit> FFieldEdits;
  std::vector<AnsiString> FStatus;
};

extern TGalleryForm* GalleryForm;
