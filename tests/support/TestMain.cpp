// Shared main of every test program: a Qt application on the offscreen
// platform, so widget tests run without a display.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/RecordingServices.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // No test may block on a real dialog; tests that look at what the user
  // saw install their own recorder on top of this one.
  TRecordingServices quiet;
  ::testing::InitGoogleMock(&argc, argv);
  return RUN_ALL_TESTS();
}
