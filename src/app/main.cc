// quillet: the Quillet window.
//
// The environment variable QUILLET_TEST_CLOSE_DURING_RUN exists for the
// window's tests only and is no setting for users: when it is set, the
// window summarises its initial article at once and is closed during that
// run (StartMode::kTestCloseDuringRun), so that a test can check that the
// program still ends with exit code 0 once the run is over.

#include <QApplication>

#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quillet"));
  // Ties the window to its installed desktop entry, whose icon and name the
  // desktop shows for it.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.quillet.Quillet"));
  const quillet::StartMode mode =
      qEnvironmentVariableIsSet("QUILLET_TEST_CLOSE_DURING_RUN")
          ? quillet::StartMode::kTestCloseDuringRun
          : quillet::StartMode::kNormal;
  return quillet::RunMainWindow(mode);
}
