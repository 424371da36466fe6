#include "demo/GalleryStartup.h"

#include "demo/GalleryForm.h"
#include "framework/forms/Application.h"

int RunGallery() {
  TApplication application;
  try {
    Application->Initialize();
    Application->SetTitle("Astrevo Gallery");
    Application->CreateForm(GalleryForm);
    Application->Run();
  } catch (const Exception& e) {
    Application->ShowException(e);
  }
  GalleryForm = nullptr;  // destroyed with the application object
  return 0;
}
