// The main of the window tests: a QApplication before any test.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/tform1.h"

int main(int argc, char* argv[]) {
  // Offscreen unless a display is named: the mask test also runs on Xvfb.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  dayledger::InstallFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
