#pragma once
// TDataSource: joins one data set to the data-aware controls (their data
// links) that show it, and passes the data set's notifications on to them.
#include <vector>

#include "framework/db/DataSet.h"
#include "framework/rtl/Component.h"

class TDataLink;

class TDataSource : public TComponent {
 public:
  explicit TDataSource(TComponent* AOwner);
  ~TDataSource() override;

  // Null when none is set, and again once the data set is destroyed.
  TDataSet* DataSet() const { return FDataSet; }
  // Every link hears ActiveChanged.
  void SetDataSet(TDataSet* Value);
  // dsInactive without a data set.
  TDataSetState State() const { return FDataSet ? FDataSet->State() : dsInactive; }

  int LinkCount() const { return static_cast<int>(FLinks.size()); }

 private:
  friend class TDataSet;
  friend class TDataLink;
  void Notify(TDataSet::TDataEvent Event, TField* Field, int Distance);
  void DataSetDestroyed();

  TDataSet* FDataSet = nullptr;
  std::vector<TDataLink*> FLinks;
};
