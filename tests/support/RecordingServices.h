#pragma once
// A user-services stand-in that records every box, beep and opened document
// instead of showing anything. Installed for its lifetime.
#include <QPointer>
#include <QWidget>
#include <vector>

#include "framework/forms/UserServices.h"

struct RecordedBox {
  QPointer<QWidget> Owner;
  AnsiString Text;
  AnsiString Caption;
  unsigned Flags;
};

class TRecordingServices : public TUserServices {
 public:
  TRecordingServices() : FPrevious(SetUserServices(this)) {}
  ~TRecordingServices() override { SetUserServices(FPrevious); }

  int MessageBox(QWidget* Owner, const AnsiString& Text, const AnsiString& Caption,
                 unsigned Flags) override {
    Boxes.push_back({Owner, Text, Caption, Flags});
    return Answer;
  }
  void Beep(unsigned Type) override { Beeps.push_back(Type); }
  bool OpenDocument(const AnsiString& Path) override {
    Opened.push_back(Path);
    return OpenResult;
  }

  std::vector<RecordedBox> Boxes;
  std::vector<unsigned> Beeps;
  std::vector<AnsiString> Opened;
  int Answer = IDOK;
  bool OpenResult = true;

 private:
  TUserServices* FPrevious;
};
