#include "framework/db/DataSource.h"

#include <algorithm>

#include "framework/db/DataLink.h"

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  if (FDataSet) FDataSet->DetachSource(this);
  for (TDataLink* link : FLinks) link->FDataSource = nullptr;
}

void TDataSource::SetDataSet(TDataSet* Value) {
  if (Value == FDataSet) return;
  if (FDataSet) FDataSet->DetachSource(this);
  FDataSet = Value;
  if (FDataSet) FDataSet->AttachSource(this);
  Notify(TDataSet::deActiveChanged, nullptr, 0);
}

void TDataSource::DataSetDestroyed() {
  FDataSet = nullptr;
  Notify(TDataSet::deActiveChanged, nullptr, 0);
}

void TDataSource::Notify(TDataSet::TDataEvent Event, TField* Field, int Distance) {
  // A control may detach itself, or another link, from inside its handler.
  const std::vector<TDataLink*> links(FLinks);
  for (TDataLink* link : links) {
    if (std::find(FLinks.begin(), FLinks.end(), link) == FLinks.end()) continue;
    switch (Event) {
      case TDataSet::deActiveChanged:
        link->ActiveChanged();
        break;
      case TDataSet::deDataSetChanged:
        link->DataSetChanged();
        break;
      case TDataSet::deDataSetScrolled:
        link->DataSetScrolled(Distance);
        break;
      case TDataSet::deRecordChanged:
        link->RecordChanged(Field);
        break;
      case TDataSet::deEditingChanged:
        link->EditingChanged();
        break;
      case TDataSet::deUpdateData:
        link->UpdateData();
        break;
    }
  }
}
