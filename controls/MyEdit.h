#pragma once
// TMyEdit: the validated edit box. It filters typed characters (numbers,
// dates), re-filters its whole text after every key release (capitals), and
// checks its value when the focus leaves it: an invalid value beeps and the
// focus comes back once the move under way has finished.
#include "controls/InputRules.h"
#include "framework/forms/Edit.h"

class TMyEdit : public TEdit, public TInputRules {
  Q_OBJECT
  // Stored with the form that places the control.
  Q_PROPERTY(int CharFilter READ CharFilterValue WRITE SetCharFilterValue)
  Q_PROPERTY(int DateAge READ DateAgeValue WRITE SetDateAgeValue)
 public:
  explicit TMyEdit(TOwnerArg AOwner);

  // Another filter clears both bounds and the text; DateAge becomes dtNone
  // unless the new filter is chDate. So set the bounds after the filter.
  void SetCharFilter(CharFilterType Value) override;

  // Whether the current text is valid under the filter and the bounds.
  bool ValidData();
  // Re-applies the text filter to the whole text, keeping the selection.
  void UpdEdit();

  void DoExit() override;

 protected:
  void KeyPress(char& Key) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;

 private:
  // After OnKeyPress has seen the key as typed.
  void PreFilterKey(char& Key);
};

namespace Myedit {
// Places TMyEdit on the component palette page "Custom".
void Register();
}  // namespace Myedit
