#pragma once
// TMyComboBox: the validated combo box. It filters typed characters
// (numbers, dates), re-filters its whole text after every change (capitals),
// and checks its value when the focus leaves it: required text, range of
// dates and numbers, or membership of the list. An invalid value shows
// ErrorMessage (or beeps) and the focus comes back once the move under way
// has finished.
#include <QString>

#include "controls/InputRules.h"
#include "framework/forms/ComboBox.h"

class TMyComboBox : public TComboBox, public TInputRules {
  Q_OBJECT
  // Stored with the form that places the control. A layout stores what
  // differs from a new control, so ExactListValue false is kept too.
  Q_PROPERTY(int CharFilter READ CharFilterValue WRITE SetCharFilterValue)
  Q_PROPERTY(int DateAge READ DateAgeValue WRITE SetDateAgeValue)
  Q_PROPERTY(bool Required READ Required WRITE SetRequired)
  Q_PROPERTY(bool ExactListValue READ ExactListValue WRITE SetExactListValue)
  Q_PROPERTY(QString ErrorMessage READ ErrorMessageValue WRITE SetErrorMessageValue)
 public:
  explicit TMyComboBox(TOwnerArg AOwner);
  ~TMyComboBox() override;

  // Another filter clears both bounds; DateAge becomes dtNone unless the new
  // filter is chDate. So set the bounds after the filter. The text stays.
  void SetCharFilter(CharFilterType Value) override;
  bool Required() const { return FRequired; }
  void SetRequired(bool Value) { FRequired = Value; }
  // The text must be one of the entries of Items (dates and numbers excepted).
  bool ExactListValue() const { return FExactListValue; }
  void SetExactListValue(bool Value) { FExactListValue = Value; }
  const AnsiString& ErrorMessage() const { return FErrorMessage; }
  void SetErrorMessage(const AnsiString& Value) { FErrorMessage = Value; }

  // Whether the current text is acceptable.
  bool ValidData();
  // Re-applies the text filter to the whole text, keeping the selection.
  virtual void UpdEdit();

  void DoExit() override;

 protected:
  void KeyPress(char& Key) override;
  void Change() override;

 private:
  // Whether Text is one of the entries, in the filter's form for the
  // filters that re-case.
  bool InItems(const AnsiString& Text);

  QString ErrorMessageValue() const;
  void SetErrorMessageValue(const QString& Value);

  AnsiString FErrorMessage;
  bool FExactListValue = true;
  bool FRequired = false;
};

namespace Mycombobox {
// Places TMyComboBox on the component palette page "Custom".
void Register();
}  // namespace Mycombobox
