#include "ui/qt/shutdown_on_signal.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>

#include "platform/shutdown_signals.h"
#include "ui/qt/qt_host.h"
#include "ui/qt/qt_prompter.h"

namespace ui {

bool ShutDownOnSignals(QtHost& host, QtPrompter& prompter) {
  if (!platform::InstallShutdownSignals()) return false;
  auto* notifier = new QSocketNotifier(platform::ShutdownSignalFd(), QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [&host, &prompter, notifier] {
    platform::TakeShutdownSignal();
    notifier->setEnabled(false);
    prompter.setUnattended(true);
    // A modal loop would hold the exit path until someone answered it.
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QDialog*>(widget); dialog != nullptr && dialog->isModal()) dialog->reject();
    host.closeMainWindow();
  });
  return true;
}

}  // namespace ui
