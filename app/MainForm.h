#pragma once
// The main window: eight coordinate fields grouped by star, "Calculate",
// "Exit", and the two read-only result fields.
#include "controls/MyEdit.h"
#include "framework/forms/BitBtn.h"
#include "framework/forms/Form.h"
#include "framework/forms/GroupBox.h"
#include "framework/forms/Label.h"
#include "ui_MainForm.h"

class TMainForm : public TForm, public Ui::TMainFormLayout {
  Q_OBJECT
 public:
  explicit TMainForm(TOwnerArg AOwner);

  void CalcButtonClick(TObject* Sender);
  void FormShow(TObject* Sender);
  void CancelButtonClick(TObject* Sender);
  void I1S1XEditKeyPress(TObject* Sender, char& Key);

 protected:
  std::vector<TPublishedMethod> PublishedMethods() override;
};

extern TMainForm* MainForm;
