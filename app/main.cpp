// Astrevo: the runtime and the framework start, then the application runs
// its main window until the window closes.
#include <QApplication>

#include "app/Startup.h"
#include "framework/rtl/Extended.h"

int main(int argc, char** argv) {
  QApplication runtime(argc, argv);
  Extended::Reset();  // x87 default: 64-bit significand, round to nearest, flags clear
  return RunAstrevo();
}
