#include "framework/db/DataLink.h"

#include <algorithm>

#include "framework/db/DataSource.h"

TDataLink::~TDataLink() { Detach(); }

void TDataLink::Detach() {
  if (!FDataSource) return;
  auto& links = FDataSource->FLinks;
  links.erase(std::remove(links.begin(), links.end(), this), links.end());
  FDataSource = nullptr;
}

void TDataLink::SetDataSource(TDataSource* Value) {
  if (Value == FDataSource) return;
  Detach();
  FDataSource = Value;
  if (FDataSource) FDataSource->FLinks.push_back(this);
  ActiveChanged();
}

TDataSet* TDataLink::DataSet() const { return FDataSource ? FDataSource->DataSet() : nullptr; }

bool TDataLink::Active() const {
  const TDataSet* ds = DataSet();
  return ds && ds->Active();
}

bool TDataLink::Editing() const {
  const TDataSet* ds = DataSet();
  return ds && (ds->State() == dsEdit || ds->State() == dsInsert);
}

bool TDataLink::Edit() {
  if (TDataSet* ds = DataSet(); ds && ds->Active()) ds->Edit();
  return Editing();
}
