#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <functional>
#include <stdexcept>

#include "framework/ole/OleAuto.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/Exceptions.h"
#include "tests/support/RecordingServices.h"
#include "tests/support/SpreadsheetFiles.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

const char* const kFirstName = "2024-05-06 14.03.22.xlsx";

// Each test: its own folder, a desktop that records what it was asked to
// open, and a clock pinned to 6 May 2024, 14:03:22.
class SheetApplicationTest : public testing::Test {
 protected:
  void SetUp() override {
    SetNowFunction([] { return EncodeDate(2024, 5, 6) + EncodeTime(14, 3, 22, 0); });
  }
  void TearDown() override { SetNowFunction(nullptr); }

  // Attach to the running instance as the export does, or start one.
  static Variant Application() {
    try {
      return GetActiveOleObject(kSpreadsheetProgID);
    } catch (const EOleSysError&) {
      return CreateOleObject(kSpreadsheetProgID);
    }
  }
  // A workbook added to App, with Text in A1, every reference but App released.
  static void AddWorkbook(const Variant& App, const char* Text) {
    OleProcedure(OlePropertyGet(App, "Workbooks"), "Add");
    OlePropertySet(OlePropertyGet(App, "Range", "A1:A1"), "Value", Text);
  }

  TSpreadsheetFolder folder;
  TRecordingServices desktop;
};

TEST_F(SheetApplicationTest, WrittenWhenTheClientLetsGoAndTheInstanceKeepsRunning) {
  {
    Variant app = Application();
    OlePropertySet(app, "visible", true);  // names ignore case
    AddWorkbook(app, "first");
    EXPECT_THAT(folder.Files(), ElementsAre(testing::StartsWith(".workbook-")));
  }
  EXPECT_THAT(folder.Files(), ElementsAre(kFirstName));
  EXPECT_THAT(desktop.Opened, ElementsAre((folder.Path / kFirstName).string()));

  // The next client attaches to the same instance; the name is taken, so it
  // gets the next one. An invisible instance writes without opening.
  Variant kept;
  {
    Variant app = GetActiveOleObject(kSpreadsheetProgID);
    EXPECT_TRUE(OlePropertyGet(app, "Visible").AsBoolean());
    OlePropertySet(app, "Visible", false);
    AddWorkbook(app, "second");
    kept = app;
  }
  EXPECT_THAT(folder.Files(),
              testing::UnorderedElementsAre(kFirstName, testing::StartsWith(".workbook-")))
      << "still held";
  kept.Clear();
  EXPECT_THAT(folder.Files(),
              testing::UnorderedElementsAre(kFirstName, "2024-05-06 14.03.22 (2).xlsx"));
  EXPECT_EQ(desktop.Opened.size(), 1u);

  Variant app = GetActiveOleObject(kSpreadsheetProgID);
  OleProcedure(app, "Quit");
  EXPECT_THROW(GetActiveOleObject(kSpreadsheetProgID), EOleSysError);
  try {
    OlePropertySet(app, "Visible", true);
    FAIL() << "an instance that quit still answers";
  } catch (const EOleSysError& e) {
    EXPECT_EQ(e.ErrorCode, RPC_E_DISCONNECTED);
  }
}

// Ways a client ends without handing its workbook over: nothing is written.
struct DiscardCase {
  const char* Name;
  std::function<void(const Variant& App, const Variant& Book)> End;
};

void PrintTo(const DiscardCase& c, std::ostream* os) { *os << c.Name; }

class SheetApplicationDiscardTest : public SheetApplicationTest,
                                    public testing::WithParamInterface<DiscardCase> {};

TEST_P(SheetApplicationDiscardTest, LeavesNoFile) {
  try {
    Variant app = Application();
    OlePropertySet(app, "Visible", true);
    Variant book = OleFunction(OlePropertyGet(app, "Workbooks"), "Add");
    OlePropertySet(OlePropertyGet(app, "Range", "A1:A1"), "Value", "half");
    GetParam().End(app, book);
  } catch (const std::runtime_error&) {
  }
  EXPECT_THAT(folder.Files(), IsEmpty());
  EXPECT_THAT(desktop.Opened, IsEmpty());
  EXPECT_THAT(desktop.Boxes, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SheetApplicationDiscardTest,
    testing::Values(
        DiscardCase{
            "CloseWithoutSaving",
            [](const Variant&, const Variant& Book) { OleProcedure(Book, "Close", false); }},
        DiscardCase{"Quit", [](const Variant& App, const Variant&) { OleProcedure(App, "Quit"); }},
        DiscardCase{"LastReferenceGoesWithAnError",
                    [](const Variant&, const Variant&) { throw std::runtime_error("midway"); }}),
    [](const auto& info) { return std::string(info.param.Name); });

// A tmpfs mounted over Dir for the object's lifetime; Mounted() is false
// where mounting is not allowed.
class TTmpfs {
 public:
  TTmpfs(const std::filesystem::path& Dir, const char* Options, unsigned long Flags = 0)
      : FDir(Dir) {
    std::filesystem::create_directories(Dir);
    FMounted = mount("tmpfs", Dir.c_str(), "tmpfs", Flags, Options) == 0;
  }
  ~TTmpfs() {
    if (FMounted) umount2(FDir.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return FMounted; }

 private:
  std::filesystem::path FDir;
  bool FMounted;
};

enum TStage { AtAdd, AtClose, AtRelease };

struct WriteFailureCase {
  const char* Name;
  TStage Stage;
  const char* Tmpfs = nullptr;  // mount options of a tmpfs over the folder
  unsigned long MountFlags = 0;
};

void PrintTo(const WriteFailureCase& c, std::ostream* os) { *os << c.Name; }

class SheetApplicationWriteFailureTest : public SheetApplicationTest,
                                         public testing::WithParamInterface<WriteFailureCase> {};

// Writes enough rows that a small limit is crossed, then closes as Stage says.
void ExportRows(const Variant& App, TStage Stage) {
  Variant book = OleFunction(OlePropertyGet(App, "Workbooks"), "Add");
  for (int row = 1; row <= 3000; ++row)
    OlePropertySet(OlePropertyGet(App, "Range", "A" + IntToStr(row)), "Value",
                   "row " + IntToStr(row) + " with some text");
  if (Stage == AtClose) OleProcedure(book, "Close", true);
}

TEST_P(SheetApplicationWriteFailureTest, IsReportedAndLeavesNoFileUnderTheFinalName) {
  const std::string name = GetParam().Name;
  const auto target = folder.Path / "target";
  std::filesystem::create_directories(target);
  std::unique_ptr<TTmpfs> mounted;
  auto export_folder = target;
  if (name == "FolderUnderAFile") {
    std::ofstream(folder.Path / "file") << "x";
    export_folder = folder.Path / "file" / "sub";
  } else if (GetParam().Tmpfs) {
    mounted = std::make_unique<TTmpfs>(target, GetParam().Tmpfs, GetParam().MountFlags);
    if (!mounted->Mounted()) GTEST_SKIP() << "mounting a tmpfs is not allowed here";
  }

  Variant app = Application();
  OlePropertySet(app, "DefaultFilePath", export_folder.string());
  try {
    {
      Variant client = app;  // the client's references, released at the end of this block
      if (name.starts_with("FolderVanishes")) {
        OleProcedure(OlePropertyGet(client, "Workbooks"), "Add");
        std::filesystem::remove_all(target);
        if (GetParam().Stage == AtClose)
          OleProcedure(OlePropertyGet(client, "ActiveWorkbook"), "Close", true);
      } else {
        ExportRows(client, GetParam().Stage);
      }
      app.Clear();
    }
    EXPECT_EQ(GetParam().Stage, AtRelease) << "no error raised";
    EXPECT_THAT(desktop.Boxes, ElementsAre(testing::Field(&RecordedBox::Text,
                                                          HasSubstr("Cannot write the workbook"))))
        << "the failure was not shown";
  } catch (const EOleSysError& e) {
    EXPECT_NE(GetParam().Stage, AtRelease) << e.Message;
    EXPECT_THAT(e.Message, HasSubstr("workbook")) << e.Message;
  }
  EXPECT_THAT(desktop.Opened, IsEmpty());
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(target, ec))
    ADD_FAILURE() << "left behind: " << e.path();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SheetApplicationWriteFailureTest,
    testing::Values(WriteFailureCase{"FolderUnderAFile", AtAdd},
                    WriteFailureCase{"ReadOnlyMount", AtAdd, "size=1m", MS_RDONLY},
                    // full while the rows stream, and too full to close
                    WriteFailureCase{"FullTmpfs", AtClose, "size=64k"},
                    WriteFailureCase{"AlmostFullTmpfs", AtClose, "size=400k"},
                    WriteFailureCase{"FolderVanishes", AtClose},
                    WriteFailureCase{"FolderVanishesBeforeRelease", AtRelease}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(SheetApplicationTest, WorkbookThatCannotBeOpenedIsReportedWithWhereItIs) {
  desktop.OpenResult = false;
  Variant app = Application();
  OlePropertySet(app, "Visible", true);
  Variant book = OleFunction(OlePropertyGet(app, "Workbooks"), "Add");
  try {
    OleProcedure(book, "Close");
    FAIL() << "no error raised";
  } catch (const EOleSysError& e) {
    EXPECT_THAT(e.Message, HasSubstr((folder.Path / kFirstName).string()));
  }
  EXPECT_THAT(folder.Files(), ElementsAre(kFirstName));
}

}  // namespace
