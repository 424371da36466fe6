#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "framework/ole/OleAuto.h"
#include "framework/ole/OleRegistration.h"
#include "framework/rtl/Exceptions.h"
#include "tests/support/RecordingAutomation.h"

namespace {

using testing::ElementsAre;

constexpr const char* kProgID = "Astrevo.Test";

TEST(OleAutoTest, RequestsArriveByNameInOrderWithAutomationTypes) {
  TRecordingAutomation server(kProgID);
  {
    Variant app = CreateOleObject(kProgID);
    OlePropertySet(app, "Visible", true);
    Variant books = OlePropertyGet(app, "Workbooks");
    OleProcedure(books, "Add");
    Variant range = OlePropertyGet(app, "Range", "A1:A1");
    OlePropertySet(range, "ColumnWidth", 9);
    OlePropertySet(range, "Value", AnsiString("Citt\xE0 \x80 2,5"));  // Windows-1252 à and €
    Variant border = OlePropertyGet(range, "Borders", 4);
    OlePropertySet(border, "LineStyle", 1);
    OlePropertySet(range, "ColumnWidth", 9.0);
    OleProcedure(app, "Quit");
  }
  EXPECT_THAT(server.Texts(),
              ElementsAre("Application.Visible = True", "Application.Workbooks", "Workbooks.Add()",
                          "Application.Range(\"A1:A1\")", "Range(\"A1:A1\").ColumnWidth = 9",
                          "Range(\"A1:A1\").Value = \"Citt\xE0 \x80 2,5\"",
                          "Range(\"A1:A1\").Borders(4)", "Borders(4).LineStyle = 1",
                          "Range(\"A1:A1\").ColumnWidth = 9.0", "Application.Quit()"));
  const auto& requests = server.Requests();
  EXPECT_EQ(requests[0].Args[0].vt(), VT_BOOL);
  EXPECT_EQ(requests[0].Args[0].boolVal(), -1);  // true has every bit set
  EXPECT_EQ(requests[3].Args[0].vt(), VT_BSTR);
  EXPECT_EQ(requests[4].Args[0].vt(), VT_I4);
  EXPECT_EQ(requests[5].Args[0].bstrVal(), u"Citt\u00E0 \u20AC 2,5");
  EXPECT_EQ(requests[6].Args[0].vt(), VT_I4);
  EXPECT_EQ(requests[8].Args[0].vt(), VT_R8);
  for (const auto& r : requests) EXPECT_EQ(r.Locale, 0x0800u) << r.Text();
  EXPECT_EQ(server.Starts(), 1);
  EXPECT_EQ(server.LiveObjects(), 0);  // every reference released
}

TEST(OleAutoTest, AttachFindsTheNewestRunningInstanceUntilRevoked) {
  TRecordingAutomation outer(kProgID);
  outer.SetRunning(true);
  {
    TRecordingAutomation inner(kProgID);
    inner.SetRunning(true);
    OlePropertySet(GetActiveOleObject("astrevo.TEST"), "Visible", true);  // identifiers ignore case
    EXPECT_EQ(inner.Attaches(), 1);
  }
  OlePropertySet(GetActiveOleObject(kProgID), "Visible", true);
  EXPECT_EQ(outer.Attaches(), 1);
  EXPECT_EQ(outer.Texts().size(), 1u);
  outer.SetRunning(false);
  EXPECT_THROW(GetActiveOleObject(kProgID), EOleSysError);
}

TEST(OleAutoTest, ATestServerTakesPrecedenceOverTheInstalledOneInAnyOrder) {
  int installed_starts = 0;
  const auto installed = [&] {
    ++installed_starts;
    return std::shared_ptr<IDispatch>();
  };
  TOleRegistration before(RegisterDefaultOleClass(kProgID, installed));
  {
    TRecordingAutomation server(kProgID);
    TOleRegistration after(RegisterDefaultOleClass(kProgID, installed));
    CreateOleObject(kProgID);
    EXPECT_EQ(server.Starts(), 1);
  }
  EXPECT_THROW(CreateOleObject(kProgID), EOleSysError);  // the installed one gives no object
  EXPECT_EQ(installed_starts, 1);
}

struct FailureCase {
  const char* Name;
  std::function<void(TRecordingAutomation&)> Arrange;
  std::function<void()> Act;
  HRESULT Code;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.Name; }

class OleAutoFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(OleAutoFailureTest, RaisesOleSysErrorWithItsCode) {
  TRecordingAutomation server(kProgID);
  GetParam().Arrange(server);
  try {
    GetParam().Act();
    FAIL() << "no error raised";
  } catch (const EOleSysError& e) {
    EXPECT_EQ(e.ErrorCode, GetParam().Code) << e.Message;
    EXPECT_FALSE(e.Message.empty());
  }
}

Variant App() { return CreateOleObject(kProgID); }

INSTANTIATE_TEST_SUITE_P(
    Cases, OleAutoFailureTest,
    testing::Values(FailureCase{"UnknownMember", [](auto& s) { s.UnknownName("Workbooks"); },
                                [] { OlePropertyGet(App(), "Workbooks"); }, DISP_E_UNKNOWNNAME},
                    FailureCase{"InvocationRejected", [](auto& s) { s.FailRequest("Value", 2); },
                                [] {
                                  Variant range = OlePropertyGet(App(), "Range", "A2:A2");
                                  OlePropertySet(range, "Value", "first");
                                  OlePropertySet(range, "Value", "second");
                                },
                                DISP_E_EXCEPTION},
                    FailureCase{"GetYieldsNoObject", [](auto& s) { s.NoObject("Borders"); },
                                [] {
                                  OlePropertyGet(OlePropertyGet(App(), "Range", "A1:A1"), "Borders",
                                                 1);
                                },
                                E_POINTER},
                    FailureCase{"RequestOnEmptyVariant", [](auto&) {},
                                [] { OlePropertySet(Variant(), "Visible", true); }, E_POINTER},
                    FailureCase{"RequestOnText", [](auto&) {},
                                [] { OleProcedure(Variant("text"), "Quit"); }, E_POINTER},
                    FailureCase{"NoRunningInstance", [](auto&) {},
                                [] { GetActiveOleObject(kProgID); }, MK_E_UNAVAILABLE},
                    FailureCase{"UnknownProgID", [](auto&) {},
                                [] { CreateOleObject("Astrevo.Missing"); }, CO_E_CLASSSTRING},
                    FailureCase{"ServerFailsToStart", [](auto& s) { s.SetCanStart(false); },
                                [] { CreateOleObject(kProgID); }, CO_E_SERVER_EXEC_FAILURE}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
