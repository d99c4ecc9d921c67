#include "bench/qt_app.h"

#include <QApplication>

namespace bench {

void EnsureQtApplication() {
  if (QApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "talv_bench";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

}  // namespace bench
