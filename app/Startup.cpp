#include "app/Startup.h"

#include "app/MainForm.h"
#include "framework/forms/Application.h"

int RunAstrevo() {
  TApplication application;
  try {
    Application->Initialize();
    Application->SetTitle("Astrevo");
    Application->CreateForm(MainForm);
    Application->Run();
  } catch (const Exception& e) {
    Application->ShowException(e);
  }
  MainForm = nullptr;  // destroyed with the application object
  return 0;
}
