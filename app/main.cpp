// Astrevo start-up: the runtime and the framework, the application object,
// the main window, and the event loop until the main window closes.
#include <QApplication>

#include "app/MainForm.h"
#include "framework/forms/Application.h"
#include "framework/rtl/Extended.h"

int main(int argc, char** argv) {
  QApplication runtime(argc, argv);
  Extended::Reset();  // x87 default: 64-bit significand, round to nearest, flags clear
  TApplication application;
  try {
    Application->Initialize();
    Application->SetTitle("Astrevo");
    Application->CreateForm(MainForm);
    Application->Run();
  } catch (const Exception& e) {
    Application->ShowException(e);
  }
  return 0;
}
