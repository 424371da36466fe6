#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/db/DataLink.h"
#include "framework/db/DataSource.h"
#include "tests/support/TestDatabase.h"

namespace {

class TRecordingLink : public TDataLink {
 public:
  std::vector<std::string> Events;
  std::function<void()> OnUpdateData;
  std::function<void()> OnScrolled;

  std::vector<std::string> Take() { return std::exchange(Events, {}); }

 protected:
  void ActiveChanged() override { Events.push_back(Active() ? "active" : "inactive"); }
  void DataSetChanged() override { Events.push_back("changed"); }
  void DataSetScrolled(int Distance) override {
    Events.push_back("scrolled " + std::to_string(Distance));
    if (OnScrolled) OnScrolled();
  }
  void RecordChanged(TField* Field) override { Events.push_back("field " + Field->FieldName()); }
  void EditingChanged() override { Events.push_back(Editing() ? "editing" : "browsing"); }
  void UpdateData() override {
    Events.push_back("update");
    if (OnUpdateData) OnUpdateData();
  }
};

class DataLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    T.Db->ExecSQL(
        "CREATE TABLE c (name TEXT); INSERT INTO c VALUES ('Roma'), ('Rovigo'), ('Torino');");
    City = T.Table("c");
    Source.SetDataSet(City.get());
    Link.SetDataSource(&Source);
  }
  TTestDatabase T;
  std::unique_ptr<TDataSet> City;
  TDataSource Source{nullptr};
  TRecordingLink Link;
};

using TEvents = std::vector<std::string>;

TEST_F(DataLinkTest, HearsEveryChangeInOrder) {
  struct TStep {
    const char* Name;
    std::function<void(TDataSet&)> Action;
    TEvents Expected;
  };
  const std::vector<TStep> steps = {
      {"open", [](TDataSet& d) { d.Open(); }, {"active"}},
      {"next", [](TDataSet& d) { d.Next(); }, {"scrolled 1"}},
      {"last", [](TDataSet& d) { d.Last(); }, {"scrolled 1"}},
      {"next at the end", [](TDataSet& d) { d.Next(); }, {}},
      {"first", [](TDataSet& d) { d.First(); }, {"scrolled -2"}},
      {"edit", [](TDataSet& d) { d.Edit(); }, {"editing"}},
      {"write", [](TDataSet& d) { d.FieldByName("name")->SetAsString("Ostia"); }, {"field name"}},
      {"post", [](TDataSet& d) { d.Post(); }, {"update", "browsing", "changed"}},
      {"insert", [](TDataSet& d) { d.Insert(); }, {"editing", "changed"}},
      {"cancel", [](TDataSet& d) { d.Cancel(); }, {"browsing", "changed"}},
      {"edit and leave unmodified",
       [](TDataSet& d) {
         d.Edit();
         d.Next();
       },
       {"editing", "update", "browsing", "changed", "scrolled 1"}},
      {"locate", [](TDataSet& d) { d.Locate("name", "Torino", {}); }, {"scrolled 1"}},
      {"locate nothing", [](TDataSet& d) { d.Locate("name", "Bari", {}); }, {}},
      {"delete", [](TDataSet& d) { d.Delete(); }, {"changed"}},
      {"close", [](TDataSet& d) { d.Close(); }, {"inactive"}},
  };
  Link.Take();
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Name);
    step.Action(*City);
    EXPECT_EQ(Link.Take(), step.Expected);
  }
}

TEST_F(DataLinkTest, AControlWritesItsPendingTextBeforePost) {
  City->Open();
  Link.OnUpdateData = [&] { City->FieldByName("name")->SetAsString("Typed"); };
  City->Edit();
  City->Post();
  City->Close();
  City->Open();
  EXPECT_EQ(City->FieldByName("name")->AsString(), "Typed");
}

TEST_F(DataLinkTest, EveryLinkHearsEvenWhenOneLeavesMeanwhile) {
  City->Open();
  Link.Take();
  TRecordingLink second;
  second.SetDataSource(&Source);
  Link.OnScrolled = [&] { Link.SetDataSource(nullptr); };
  City->Next();
  EXPECT_EQ(Link.Take(), (TEvents{"scrolled 1", "inactive"}));
  EXPECT_EQ(second.Take(), (TEvents{"active", "scrolled 1"}));
  EXPECT_EQ(Source.LinkCount(), 1);
}

TEST_F(DataLinkTest, NoPointerOutlivesWhatItPointsTo) {
  City->Open();
  {
    TRecordingLink shortLived;
    shortLived.SetDataSource(&Source);
    EXPECT_EQ(Source.LinkCount(), 2);
  }
  EXPECT_EQ(Source.LinkCount(), 1);
  Link.Take();
  City.reset();
  EXPECT_EQ(Source.DataSet(), nullptr);
  EXPECT_EQ(Source.State(), dsInactive);
  EXPECT_EQ(Link.Take(), (TEvents{"inactive"}));
  auto source = std::make_unique<TDataSource>(nullptr);
  Link.SetDataSource(source.get());
  source.reset();
  EXPECT_EQ(Link.DataSource(), nullptr);
  EXPECT_FALSE(Link.Active());
}

TEST_F(DataLinkTest, EditThroughTheLinkFollowsTheDataSet) {
  EXPECT_FALSE(Link.Edit()) << "closed";
  City->Open();
  EXPECT_TRUE(Link.Edit());
  EXPECT_EQ(City->State(), dsEdit);
  TDataSource other(nullptr);
  Link.SetDataSource(&other);
  EXPECT_EQ(Link.DataSet(), nullptr);
}

}  // namespace
