#pragma once

#include <QApplication>

namespace testsupport {

// The application of a Qt test, made on first use, offscreen unless the run
// asks for a display. Kept to the end of the process: destroying it from an
// exit handler crashes inside the platform plugin.
inline QApplication& AppQt() {
  static int argc = 1;
  static char name[] = "compensato_test";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace testsupport
