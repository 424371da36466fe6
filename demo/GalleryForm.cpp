#include "demo/GalleryForm.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QProgressDialog>

#include "demo/GalleryDatabase.h"
#include "demo/Places.h"
#include "framework/db/DataLink.h"
#include "framework/forms/HandlerGuard.h"
#include "framework/rtl/DateUtils.h"

TGalleryForm* GalleryForm = nullptr;

// Puts the current customer into the edit boxes whenever another one is shown.
class TGalleryForm::TRecordLink : public TDataLink {
 public:
  explicit TRecordLink(TGalleryForm* Form) : FForm(Form) {}

 protected:
  void ActiveChanged() override { FForm->LoadRecord(); }
  void DataSetChanged() override { FForm->LoadRecord(); }
  void DataSetScrolled(int) override { FForm->LoadRecord(); }

 private:
  TGalleryForm* FForm;
};

TGalleryForm::TGalleryForm(TOwnerArg AOwner, const AnsiString& DatabasePath)
    : TForm(AOwner), FRecordLink(std::make_unique<TRecordLink>(this)) {
  setupUi(this);
  Loaded();

  MenuBar = new QMenuBar(this);
  MenuBar->setGeometry(0, 0, width(), 26);
  QMenu* data = MenuBar->addMenu("&Dati");
  data->addAction("Carica 1.000.000 di &localit\u00e0...", this, [this] { LoadManyPlaces(); });
  data->addSeparator();
  data->addAction("&Esci", this, [this] { Close(); });

  // The bounds follow the filters, which clear them when set.
  NascitaEdit->SetDateAge(dt1900);
  NascitaEdit->SetMinValue(Variant::FromDate(EncodeDate(1900, 1, 1)));
  NascitaEdit->SetMaxValue(Variant::FromDate(Date()));
  FigliEdit->SetMinValue(0);
  FigliEdit->SetMaxValue(20);
  RedditoEdit->SetMinValue(0);
  RedditoEdit->SetMaxValue(10000000);
  ProvinciaCombo->Items().AddStrings(ProvinceCodes());
  FFieldEdits = {{NomeEdit, "name"},     {IndirizzoEdit, "address"}, {CodiceEdit, "tax_code"},
                 {NascitaEdit, "birth"}, {FigliEdit, "children"},    {RedditoEdit, "income"},
                 {EMailEdit, "email"}};

  Cities.SetDatabase(&Database);
  Cities.SetTableName("city");
  Customers.SetDatabase(&Database);
  Customers.SetTableName("customer");
  // The town of birth through a lookup field, the town of residence through
  // its key; the grid shows the town's name as well.
  for (const auto& [name, key] : {std::pair{"BirthCity", "birth_city_id"}, {"City", "city_id"}}) {
    TField* town = Customers.AddField(name, fkLookup);
    town->SetKeyFields(key);
    town->SetLookupDataSet(&Cities);
    town->SetLookupKeyFields("id");
    town->SetLookupResultField("name");
  }
  CitySource.SetDataSet(&Cities);
  CustomerSource.SetDataSet(&Customers);

  CittaLookup->SetDataSource(&CustomerSource);
  CittaLookup->SetDataField("city_id");
  CittaLookup->SetListSource(&CitySource);
  CittaLookup->SetKeyField("id");
  CittaLookup->SetListField("name");
  NatoALookup->SetDataSource(&CustomerSource);
  NatoALookup->SetDataField("BirthCity");
  ClientiGrid->SetDataSource(&CustomerSource);
  struct TColumnSpec {
    const char* Field;
    const char* Title;
    int Width;
  };
  const TColumnSpec columns[] = {{"name", "Nome", 120},     {"address", "Indirizzo", 150},
                                 {"province", "Prov.", 50}, {"City", "Citt\xE0", 100},
                                 {"birth", "Nato il", 90},  {"email", "E-mail", 150}};
  for (const TColumnSpec& c : columns) {
    TColumn& column = ClientiGrid->Columns().Add();
    column.SetFieldName(c.Field);
    column.SetTitleCaption(c.Title);
    column.SetWidth(c.Width);
  }
  FRecordLink->SetDataSource(&CustomerSource);
  OpenData(DatabasePath.empty() ? GalleryDatabasePath() : DatabasePath);
}

TGalleryForm::~TGalleryForm() {
  // The controls let go of the data before the data goes.
  CittaLookup->SetDataSource(nullptr);
  CittaLookup->SetListSource(nullptr);
  NatoALookup->SetDataSource(nullptr);
  ClientiGrid->SetDataSource(nullptr);
  FRecordLink->SetDataSource(nullptr);
}

std::vector<TPublishedMethod> TGalleryForm::PublishedMethods() {
  return {{"FormShow", Bind(this, &TGalleryForm::FormShow)},
          {"ControlExit", Bind(this, &TGalleryForm::ControlExit)},
          {"LookupInvalidValue", Bind(this, &TGalleryForm::LookupInvalidValue)},
          {"GridCustomize", Bind(this, &TGalleryForm::GridCustomize)},
          {"SaveButtonClick", Bind(this, &TGalleryForm::SaveButtonClick)},
          {"CancelButtonClick", Bind(this, &TGalleryForm::CancelButtonClick)},
          {"NewButtonClick", Bind(this, &TGalleryForm::NewButtonClick)}};
}

void TGalleryForm::OpenData(const AnsiString& Path) {
  try {
    OpenGalleryDatabase(Database, Path);
    Cities.Open();
    Cities.PrepareLocate("name", {loCaseInsensitive, loPartialKey});
    Customers.Open();
    ShowStatus("Pronto: " + Path);
  } catch (const Exception& e) {
    Report("Apertura di " + Path + " non riuscita", e);
  }
}

void TGalleryForm::FormShow(TObject*) { NomeEdit->SetFocus(); }

void TGalleryForm::closeEvent(QCloseEvent* Event) {
  // Closing keeps what was typed: a changed record is saved first, and a
  // record that cannot be saved keeps the window open.
  if (Customers.Active() && (Customers.Modified() || EditsChanged()) && !SaveRecord()) {
    Event->ignore();
    return;
  }
  TForm::closeEvent(Event);
}

// The newest message first, then the two before it: an event that leads to
// another (an invalid value, then the exit) stays readable.
void TGalleryForm::ShowStatus(const AnsiString& Text) {
  FStatus.insert(FStatus.begin(), Text);
  if (FStatus.size() > 3) FStatus.resize(3);
  AnsiString line;
  for (const AnsiString& s : FStatus) line += (line.empty() ? "" : "   |   ") + s;
  StatusLabel->SetCaption(line);
}

void TGalleryForm::Report(const AnsiString& What, const Exception& E) {
  ShowStatus(What + ": " + E.Message);
  HandleException(E);
}

void TGalleryForm::ControlExit(TObject* Sender) {
  if (auto* c = dynamic_cast<TComponent*>(Sender)) ShowStatus("OnExit: " + c->Name());
}

void TGalleryForm::LookupInvalidValue(TObject* Sender, AnsiString TextValue) {
  const auto* c = dynamic_cast<TComponent*>(Sender);
  ShowStatus("OnInvalidValue: " + (c ? c->Name() : AnsiString()) + ", \"" + TextValue +
             "\" non \xE8 nell'elenco");
}

void TGalleryForm::GridCustomize(TObject*, TMyDBGrid* Grid) {
  ShowStatus("OnCustomizeGrid: " + Grid->Name());
}

void TGalleryForm::LoadRecord() {
  const bool open = Customers.Active() && !Customers.IsEmpty();
  for (const TFieldEdit& f : FFieldEdits) {
    const TField* field = open ? Customers.FindField(f.FieldName) : nullptr;
    f.Edit->SetText(field ? field->AsString() : AnsiString());
  }
  const TField* province = open ? Customers.FindField("province") : nullptr;
  ProvinciaCombo->SetText(province ? province->AsString() : AnsiString());
}

bool TGalleryForm::EditsChanged() const {
  if (Customers.IsEmpty()) return false;
  for (const TFieldEdit& f : FFieldEdits) {
    const TField* field = Customers.FindField(f.FieldName);
    if (field && field->AsString() != f.Edit->Text()) return true;
  }
  const TField* province = Customers.FindField("province");
  return province && province->AsString() != ProvinciaCombo->Text();
}

void TGalleryForm::SaveButtonClick(TObject*) { SaveRecord(); }

bool TGalleryForm::SaveRecord() {
  if (!Customers.Active()) return true;
  for (const TFieldEdit& f : FFieldEdits) {
    if (!f.Edit->ValidData()) {
      ShowStatus("Valore non valido: " + f.Edit->Name());
      f.Edit->SetFocus();
      return false;
    }
  }
  try {
    if (Customers.State() == dsBrowse) Customers.Edit();
    for (const TFieldEdit& f : FFieldEdits) {
      TField* field = Customers.FieldByName(f.FieldName);
      if (f.Edit->Text().empty())
        field->Clear();
      else
        field->SetAsString(f.Edit->Text());
    }
    TField* province = Customers.FieldByName("province");
    if (ProvinciaCombo->Text().empty())
      province->Clear();
    else
      province->SetAsString(ProvinciaCombo->Text());
    Customers.Post();
    ShowStatus("Salvato.");
    return true;
  } catch (const Exception& e) {
    Report("Post non riuscito", e);
    return false;
  }
}

void TGalleryForm::CancelButtonClick(TObject*) {
  Guarded([this] {
    Customers.Cancel();
    LoadRecord();
    ShowStatus("Modifiche annullate.");
  });
}

void TGalleryForm::NewButtonClick(TObject*) {
  try {
    Customers.Append();
    LoadRecord();
    NomeEdit->SetFocus();
    ShowStatus("Nuovo cliente.");
  } catch (const Exception& e) {
    Report("Nuovo cliente non riuscito", e);
  }
}

void TGalleryForm::LoadManyPlaces() {
  constexpr int kCount = 1000000;
  QProgressDialog progress("Caricamento delle localit\u00e0...", "Annulla", 0, kCount, this);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  try {
    const bool kept = AddManyPlaces(Database, kCount, [&](int Done) {
      progress.setValue(Done);
      QApplication::processEvents();
      return !progress.wasCanceled();
    });
    if (!kept) {
      ShowStatus("Caricamento annullato.");
      return;
    }
    Cities.Close();
    Cities.Open();
    Cities.PrepareLocate("name", {loCaseInsensitive, loPartialKey});
    ShowStatus("Caricate 1.000.000 di localit\xE0: " + std::to_string(Cities.RecordCount()) +
               " in elenco.");
  } catch (const Exception& e) {
    Report("Caricamento non riuscito", e);
  }
}
