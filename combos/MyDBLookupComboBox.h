#pragma once
// TMyDBLookupComboBox: the data-aware lookup combo box with a typing box.
// While it has the focus it lays a TEditLookupComboBox over itself, in which
// the user types freely; the text is searched in the list as it is typed and
// the matched record's key goes into the field on leaving. When the focus
// leaves the pair the typing box goes, and a shown value that is not a list
// value takes the focus back and is reported through OnInvalidValue.
#include <functional>

#include "controls/Strcaps.h"
#include "framework/dbctrls/DBLookupComboBox.h"

class TEditLookupComboBox;

// Raised with the text the user had left in the typing box.
using TInvalidValueEvent = std::function<void(TObject* Sender, AnsiString TextValue)>;

class TMyDBLookupComboBox : public TDBLookupComboBox {
  Q_OBJECT
  // Stored with the form that places the control. A layout stores what
  // differs from a new control, so ExactListValue false is kept too.
  Q_PROPERTY(int CharFilter READ CharFilterValue WRITE SetCharFilterValue)
  Q_PROPERTY(bool ExactListValue READ ExactListValue WRITE SetExactListValue)
 public:
  explicit TMyDBLookupComboBox(TOwnerArg AOwner);
  ~TMyDBLookupComboBox() override;

  bool BindEvent(const AnsiString& Event, const TPublishedMethod& Method) override;

  CharFilterType CharFilter() const { return FCharFilter; }
  // Handed on to the typing box at once when there is one.
  void SetCharFilter(CharFilterType Value);
  // A non-empty shown value must be a list value.
  bool ExactListValue() const { return FExactListValue; }
  void SetExactListValue(bool Value) { FExactListValue = Value; }

  // The typing box while the pair has the focus, else null.
  TEditLookupComboBox* EditBox() const { return FEditBox; }

  // Whether the value shown is a list value: set by every CloseUp and by
  // each search of the typing box.
  bool ListMatch = false;

  bool ValidData();

  void DoEnter() override;
  void DoExit() override;
  void DropDown() override;
  void CloseUp(bool Accept) override;

  TInvalidValueEvent OnInvalidValue;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  // Shift+Tab in the typing box moves to the control before the pair.
  friend class TEditLookupComboBox;

  int CharFilterValue() const { return FCharFilter; }
  void SetCharFilterValue(int Value) { SetCharFilter(static_cast<CharFilterType>(Value)); }

  CharFilterType FCharFilter = chDefault;
  bool FExactListValue = true;
  TEditLookupComboBox* FEditBox = nullptr;
  bool FButtonClick = false;
};

namespace Mydblookupcombobox {
// Places TMyDBLookupComboBox on the component palette page "Custom".
void Register();
}  // namespace Mydblookupcombobox
