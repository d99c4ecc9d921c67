// configurator: lists the cards the driver presents, with their hardware.

#include <QApplication>

#include "configurator/configurator_dialogs.h"
#include "configurator/dialog_templates.h"
#include "driver_if/default_driver.h"
#include "ui/qt/images.h"
#include "ui/qt/qt_host.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setWindowIcon(ui::ResourceIcon(configurator::kProgramIcon));
  ui::QtHost host;
  std::unique_ptr<CardDriver> driver = MakeDefaultCardDriver();
  return configurator::RunConfigurator(host, *driver);
}
