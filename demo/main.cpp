// The component gallery: every control of the palette page "Custom" on a
// sample database, to try them as a user would.
#include <QApplication>

#include "demo/GalleryStartup.h"
#include "framework/rtl/Extended.h"

int main(int argc, char** argv) {
  QApplication runtime(argc, argv);
  Extended::Reset();
  return RunGallery();
}
