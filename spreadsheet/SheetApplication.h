#pragma once
// A running instance of the spreadsheet server. It stays running, and
// registered for clients to attach to, until it is told to quit.
//
// When its workbooks are written: every object a client holds (the
// application, the workbook collection, a workbook, a range, a border) holds
// a lease on the instance. When the client lets go of the last one, each
// workbook still open is handed over: written to its file and, when the
// instance is visible, opened on the desktop. A failure then goes to the
// default error display, as there is no caller left to tell. If the last
// reference goes while an error is propagating, the client failed midway
// and its open workbooks are discarded instead. A client that wants the
// failure itself closes the workbook with SaveChanges true.
#include <filesystem>
#include <memory>
#include <vector>

#include "framework/ole/OleRegistration.h"
#include "spreadsheet/SheetWorkbook.h"

class TSheetApplication : public std::enable_shared_from_this<TSheetApplication> {
 public:
  class TLease {
   public:
    explicit TLease(std::shared_ptr<TSheetApplication> App) : FApp(std::move(App)) {}
    ~TLease() { FApp->Released(); }
    TSheetApplication& App() const { return *FApp; }

   private:
    std::shared_ptr<TSheetApplication> FApp;
  };

  // Starts an instance writing to Folder, registers it as running under
  // ProgID and returns the client's application object.
  static std::shared_ptr<IDispatch> Start(const AnsiString& ProgID,
                                          const std::filesystem::path& Folder);

  std::shared_ptr<TLease> Lease();
  // EOleSysError once the instance has quit.
  void CheckRunning() const;

  bool Visible = false;
  std::filesystem::path DefaultFilePath;

  std::shared_ptr<TSheetWorkbook> AddWorkbook();
  // The newest workbook still open; EOleSysError when there is none.
  std::shared_ptr<TSheetWorkbook> ActiveWorkbook() const;
  int WorkbookCount() const { return static_cast<int>(FBooks.size()); }
  // Save: written and, when visible, opened on the desktop; EOleSysError on
  // failure. Otherwise discarded. Closed either way.
  void CloseWorkbook(const std::shared_ptr<TSheetWorkbook>& Book, bool Save);
  // Discards every open workbook and leaves the running table.
  void Quit();

 private:
  void Released() noexcept;
  void HandOver(TSheetWorkbook& Book);

  std::vector<std::shared_ptr<TSheetWorkbook>> FBooks;
  std::weak_ptr<TLease> FLease;
  TOleCookie FCookie = 0;
  bool FQuit = false;
};
