#include "spreadsheet/SheetApplication.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "framework/forms/HandlerGuard.h"
#include "framework/forms/UserServices.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/DateUtils.h"
#include "framework/rtl/Exceptions.h"
#include "spreadsheet/SheetObjects.h"

namespace {

// "2024-05-06 14.03.22": sorts by time, and every desktop accepts it in a file name.
std::string TimeName(TDateTime When) {
  int y, m, d, h, n, s, ms;
  DecodeDate(When, y, m, d);
  DecodeTime(When, h, n, s, ms);
  char name[40];
  std::snprintf(name, sizeof name, "%04d-%02d-%02d %02d.%02d.%02d", y, m, d, h, n, s);
  return name;
}

}  // namespace

std::shared_ptr<IDispatch> TSheetApplication::Start(const AnsiString& ProgID,
                                                    const std::filesystem::path& Folder) {
  auto app = std::make_shared<TSheetApplication>();
  app->DefaultFilePath = Folder;
  // The table's hold keeps the instance running between clients.
  app->FCookie = RegisterActiveObject(ProgID, [app] { return NewApplicationObject(app->Lease()); });
  return NewApplicationObject(app->Lease());
}

std::shared_ptr<TSheetApplication::TLease> TSheetApplication::Lease() {
  std::shared_ptr<TLease> lease = FLease.lock();
  if (!lease) {
    lease = std::make_shared<TLease>(shared_from_this());
    FLease = lease;
  }
  return lease;
}

void TSheetApplication::CheckRunning() const {
  if (FQuit) throw EOleSysError(OleErrorText(RPC_E_DISCONNECTED), RPC_E_DISCONNECTED);
}

std::shared_ptr<TSheetWorkbook> TSheetApplication::AddWorkbook() {
  CheckRunning();
  FBooks.push_back(std::make_shared<TSheetWorkbook>(DefaultFilePath));
  return FBooks.back();
}

std::shared_ptr<TSheetWorkbook> TSheetApplication::ActiveWorkbook() const {
  CheckRunning();
  if (FBooks.empty()) throw EOleSysError("No workbook is open", DISP_E_EXCEPTION);
  return FBooks.back();
}

void TSheetApplication::CloseWorkbook(const std::shared_ptr<TSheetWorkbook>& Book, bool Save) {
  CheckRunning();
  std::erase(FBooks, Book);
  if (!Book->IsOpen()) return;
  if (Save)
    HandOver(*Book);
  else
    Book->Discard();
}

void TSheetApplication::HandOver(TSheetWorkbook& Book) {
  const std::string path = Book.Save(TimeName(Now())).string();
  if (Visible && !UserServices().OpenDocument(Utf8ToAnsi(path)))
    throw EOleSysError(Utf8ToAnsi("The workbook was saved as " + path +
                                  ", but no program on the desktop could open it"),
                       DISP_E_EXCEPTION);
}

void TSheetApplication::Quit() {
  CheckRunning();
  const auto self = shared_from_this();  // the table may hold the last reference
  FQuit = true;
  for (const auto& book : FBooks) book->Discard();
  FBooks.clear();
  RevokeOleRegistration(FCookie);
}

void TSheetApplication::Released() noexcept {
  if (FQuit) return;
  const bool failing = std::uncaught_exceptions() > 0;
  const auto books = FBooks;
  for (const auto& book : books) {
    if (failing) {
      std::erase(FBooks, book);
      book->Discard();
      continue;
    }
    try {
      CloseWorkbook(book, true);
    } catch (const Exception& e) {
      HandleException(e);
    } catch (const std::exception& e) {
      HandleException(Exception(e.what()));
    }
  }
}
