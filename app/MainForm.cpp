#include "app/MainForm.h"

#include "app/StarCalc.h"
#include "framework/forms/Application.h"
#include "framework/forms/UserServices.h"
#include "framework/rtl/FormatSettings.h"

TMainForm* MainForm = nullptr;

// The glyph lives in a static library's resources, which need registering.
static void InitLayoutResources() { Q_INIT_RESOURCE(MainForm); }

TMainForm::TMainForm(TOwnerArg AOwner) : TForm(AOwner) {
  InitLayoutResources();
  setupUi(this);
  Loaded();
}

std::vector<TPublishedMethod> TMainForm::PublishedMethods() {
  return {{"CalcButtonClick", Bind(this, &TMainForm::CalcButtonClick)},
          {"FormShow", Bind(this, &TMainForm::FormShow)},
          {"CancelButtonClick", Bind(this, &TMainForm::CancelButtonClick)},
          {"I1S1XEditKeyPress", Bind(this, &TMainForm::I1S1XEditKeyPress)}};
}

void TMainForm::CalcButtonClick(TObject*) {
  const std::array<AnsiString, 8> texts = {I1S1XEdit->Text(), I1S1YEdit->Text(), I1S2XEdit->Text(),
                                           I1S2YEdit->Text(), I2S1XEdit->Text(), I2S1YEdit->Text(),
                                           I2S2XEdit->Text(), I2S2YEdit->Text()};
  // Conversion and arithmetic errors leave the handler for the default error display.
  const auto results = CalcScaleRotation(texts, FormatSettings);
  if (!results) {
    Application->MessageBox("Indicare tutti i valori.", "Errore", MB_OKCANCEL);
    return;
  }
  ScaleEdit->SetText(results->Resize);
  RotEdit->SetText(results->Rotate);
}

void TMainForm::FormShow(TObject*) {
  // The results are written in the currency layout, without a currency.
  FormatSettings.CurrencyDecimals = 2;
  FormatSettings.CurrencyString = "";
}

void TMainForm::CancelButtonClick(TObject*) { Close(); }

void TMainForm::I1S1XEditKeyPress(TObject* Sender, char& Key) {
  if (!IsDigitChar(Key) && Key != ',' && Key != '.' && Key != 8 && Key != 13) Key = 0;
  // Either decimal mark enters the regional one, the only one the conversion reads.
  if (Key == '.' || Key == ',') Key = FormatSettings.DecimalSeparator;
  if (Key == 13) {
    Key = 0;
    CalcButtonClick(Sender);
  }
}
