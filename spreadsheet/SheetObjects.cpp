#include "spreadsheet/SheetObjects.h"

#include "framework/ole/AutoObject.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Exceptions.h"

namespace {

using TLeasePtr = std::shared_ptr<TSheetApplication::TLease>;
using TArgs = std::span<const TVariantArg>;

constexpr size_t kMaxCellText = 32767;

// Each object holds the client's lease and checks the instance still runs.
class TSheetObject : public TAutoObject {
 public:
  explicit TSheetObject(TLeasePtr Lease) : FLease(std::move(Lease)) {}

 protected:
  TSheetApplication& App() const { return FLease->App(); }
  TVariantArg InvokeMember(DISPID Id, uint16_t Flags, TArgs Args) final {
    App().CheckRunning();
    return Run(Id, Flags, Args);
  }
  virtual TVariantArg Run(DISPID Id, uint16_t Flags, TArgs Args) = 0;

  static bool IsGet(uint16_t Flags) { return Flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD); }
  static bool IsPut(uint16_t Flags) { return Flags & DISPATCH_PROPERTYPUT; }

  TLeasePtr FLease;
};

class TBorderObject : public TSheetObject {
 public:
  TBorderObject(TLeasePtr Lease, std::shared_ptr<TSheetWorkbook> Book, TRangeAddress Cells,
                TCellEdge Edge)
      : TSheetObject(std::move(Lease)), FBook(std::move(Book)), FCells(Cells), FEdge(Edge) {}

 protected:
  std::span<const char* const> MemberNames() const override {
    static constexpr const char* kNames[] = {"LineStyle"};
    return kNames;
  }
  TVariantArg Run(DISPID, uint16_t Flags, TArgs Args) override {
    if (!IsPut(Flags)) NotSupported();
    CheckArgCount(Args, 1, 1);
    TLineStyle style;
    if (!LineStyleFromCode(FromVariantArg(Args[0]).AsInteger(), style))
      throw EOleSysError("Unknown line style", E_INVALIDARG);
    FBook->SetBorder(FCells, FEdge, style);
    return {};
  }

 private:
  std::shared_ptr<TSheetWorkbook> FBook;
  TRangeAddress FCells;
  TCellEdge FEdge;
};

class TRangeObject : public TSheetObject {
 public:
  TRangeObject(TLeasePtr Lease, std::shared_ptr<TSheetWorkbook> Book, TRangeAddress Cells)
      : TSheetObject(std::move(Lease)), FBook(std::move(Book)), FCells(Cells) {}

 protected:
  enum { idColumnWidth, idHorizontalAlignment, idValue, idBorders };
  std::span<const char* const> MemberNames() const override {
    static constexpr const char* kNames[] = {"ColumnWidth", "HorizontalAlignment", "Value",
                                             "Borders"};
    return kNames;
  }
  TVariantArg Run(DISPID Id, uint16_t Flags, TArgs Args) override {
    if (Id == idBorders) {
      if (!IsGet(Flags)) NotSupported();
      CheckArgCount(Args, 1, 1);
      const int index = FromVariantArg(Args[0]).AsInteger();
      if (index < 1 || index > 4)
        throw EOleSysError(OleErrorText(DISP_E_BADINDEX), DISP_E_BADINDEX);
      return TVariantArg::Dispatch(std::make_shared<TBorderObject>(
          FLease, FBook, FCells, static_cast<TCellEdge>(ceLeft + index - 1)));
    }
    if (!IsPut(Flags)) NotSupported();
    CheckArgCount(Args, 1, 1);
    const TVariantArg& value = Args[0];
    switch (Id) {
      case idColumnWidth:
        FBook->SetColumnWidth(FCells.FirstCol, FCells.LastCol, FromVariantArg(value).AsDouble());
        break;
      case idHorizontalAlignment: {
        const int code = FromVariantArg(value).AsInteger();
        if (code < 1 || code > 3) throw EOleSysError("Unknown alignment", E_INVALIDARG);
        const auto align = static_cast<THorzAlign>(code);
        if (FCells.WholeColumns)
          FBook->SetColumnAlignment(FCells.FirstCol, FCells.LastCol, align);
        else
          FBook->SetAlignment(FCells, align);
        break;
      }
      case idValue:
        FBook->SetValue(FCells, CellValue(value));
        break;
    }
    return {};
  }

 private:
  static TCellValue CellValue(const TVariantArg& V) {
    TCellValue cell;
    switch (V.vt()) {
      case VT_EMPTY:
      case VT_NULL:
        break;
      case VT_BSTR:
        if (V.bstrVal().size() > kMaxCellText)
          throw EOleSysError("A cell holds at most 32767 characters", E_INVALIDARG);
        return CellValueFromText(V.bstrVal(), FormatSettings);
      case VT_BOOL:
        cell.Kind = TCellValue::Boolean;
        cell.Num = V.boolVal() != VARIANT_FALSE;
        break;
      case VT_DISPATCH:
        throw EOleSysError(OleErrorText(DISP_E_TYPEMISMATCH), DISP_E_TYPEMISMATCH);
      default:
        cell.Kind = TCellValue::Number;
        cell.Num = FromVariantArg(V).AsDouble();
        break;
    }
    return cell;
  }

  std::shared_ptr<TSheetWorkbook> FBook;
  TRangeAddress FCells;
};

class TWorkbookObject : public TSheetObject {
 public:
  TWorkbookObject(TLeasePtr Lease, std::shared_ptr<TSheetWorkbook> Book)
      : TSheetObject(std::move(Lease)), FBook(std::move(Book)) {}

 protected:
  std::span<const char* const> MemberNames() const override {
    static constexpr const char* kNames[] = {"Close"};
    return kNames;
  }
  TVariantArg Run(DISPID, uint16_t Flags, TArgs Args) override {
    if (!(Flags & DISPATCH_METHOD)) NotSupported();
    CheckArgCount(Args, 0, 1);
    const bool save =
        Args.empty() || Args[0].vt() == VT_EMPTY || FromVariantArg(Args[0]).AsBoolean();
    App().CloseWorkbook(FBook, save);
    return {};
  }

 private:
  std::shared_ptr<TSheetWorkbook> FBook;
};

class TWorkbooksObject : public TSheetObject {
 public:
  using TSheetObject::TSheetObject;

 protected:
  enum { idAdd, idCount };
  std::span<const char* const> MemberNames() const override {
    static constexpr const char* kNames[] = {"Add", "Count"};
    return kNames;
  }
  TVariantArg Run(DISPID Id, uint16_t Flags, TArgs Args) override {
    CheckArgCount(Args, 0, 0);
    if (Id == idCount) {
      if (!IsGet(Flags)) NotSupported();
      return TVariantArg::Int(App().WorkbookCount());
    }
    if (!(Flags & DISPATCH_METHOD)) NotSupported();
    return TVariantArg::Dispatch(std::make_shared<TWorkbookObject>(FLease, App().AddWorkbook()));
  }
};

class TApplicationObject : public TSheetObject {
 public:
  using TSheetObject::TSheetObject;

 protected:
  enum { idVisible, idDefaultFilePath, idWorkbooks, idActiveWorkbook, idRange, idQuit };
  std::span<const char* const> MemberNames() const override {
    static constexpr const char* kNames[] = {"Visible",        "DefaultFilePath", "Workbooks",
                                             "ActiveWorkbook", "Range",           "Quit"};
    return kNames;
  }
  TVariantArg Run(DISPID Id, uint16_t Flags, TArgs Args) override {
    TSheetApplication& app = App();
    if (IsPut(Flags)) {
      CheckArgCount(Args, 1, 1);
      if (Id == idVisible)
        app.Visible = FromVariantArg(Args[0]).AsBoolean();
      else if (Id == idDefaultFilePath)
        app.DefaultFilePath = Args[0].vt() == VT_BSTR
                                  ? WideToUtf8(Args[0].bstrVal())
                                  : AnsiToUtf8(FromVariantArg(Args[0]).AsString());
      else
        NotSupported();
      return {};
    }
    if (Id == idRange) {
      CheckArgCount(Args, 1, 1);
      if (Args[0].vt() != VT_BSTR)
        throw EOleSysError(OleErrorText(DISP_E_TYPEMISMATCH), DISP_E_TYPEMISMATCH);
      const TRangeAddress cells = ParseRangeAddress(Args[0].bstrVal());
      return TVariantArg::Dispatch(
          std::make_shared<TRangeObject>(FLease, app.ActiveWorkbook(), cells));
    }
    CheckArgCount(Args, 0, 0);
    switch (Id) {
      case idVisible:
        return TVariantArg::Bool(app.Visible);
      case idDefaultFilePath:
        return TVariantArg::Text(AnsiToWide(Utf8ToAnsi(app.DefaultFilePath.string())));
      case idWorkbooks:
        return TVariantArg::Dispatch(std::make_shared<TWorkbooksObject>(FLease));
      case idActiveWorkbook:
        return TVariantArg::Dispatch(
            std::make_shared<TWorkbookObject>(FLease, app.ActiveWorkbook()));
      case idQuit:
        if (!(Flags & DISPATCH_METHOD)) NotSupported();
        app.Quit();
        return {};
    }
    NotSupported();
  }
};

}  // namespace

std::shared_ptr<IDispatch> NewApplicationObject(TLeasePtr Lease) {
  return std::make_shared<TApplicationObject>(std::move(Lease));
}
