#pragma once
// TDataLink: what a data-aware control holds to hear from its data source.
// The control derives from it and overrides the notifications it needs;
// each is called after the change it reports.
#include "framework/db/DataSet.h"

class TDataSource;
class TField;

class TDataLink {
 public:
  TDataLink() = default;
  virtual ~TDataLink();
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;

  TDataSource* DataSource() const { return FDataSource; }
  // Hears ActiveChanged when the source changes.
  void SetDataSource(TDataSource* Value);
  // The source's data set, or null.
  TDataSet* DataSet() const;
  bool Active() const;
  // The data set is in dsEdit or dsInsert.
  bool Editing() const;
  // Puts the data set into edit mode (errors of TDataSet::Edit pass through);
  // returns Editing().
  bool Edit();

 protected:
  friend class TDataSource;
  // The data set opened or closed, or the link now reaches another data set.
  virtual void ActiveChanged() {}
  // Many records may have changed: opened rows, an insert, a post, a cancel,
  // a delete.
  virtual void DataSetChanged() {}
  // The current record moved by Distance records.
  virtual void DataSetScrolled(int Distance) { (void)Distance; }
  // Field of the current record was written.
  virtual void RecordChanged(TField* Field) { (void)Field; }
  // The data set entered or left dsEdit/dsInsert.
  virtual void EditingChanged() {}
  // Post is about to write: a control with pending text writes it into its field now.
  virtual void UpdateData() {}

 private:
  void Detach();
  TDataSource* FDataSource = nullptr;
};
