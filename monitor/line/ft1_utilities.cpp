#include "monitor/line/ft1_utilities.h"

#include "driver_if/mailbox.h"
#include "monitor/core/menu_ids.h"
#include "monitor/line/ft1_config_dialog.h"

namespace {

// The messages of a monitor window's opening step, by return code.
struct OpeningMessages {
  ui::Prompt no_adapter, remote_driver, tx_busy, other;

  const ui::Prompt& pick(uint8_t rc) const {
    if (rc == RC_NO_FT1_ADAPTER) return no_adapter;
    if (rc == RC_REMOTE_DRIVER) return remote_driver;
    if (rc == RC_FT1_TX_BUSY) return tx_busy;
    return other;
  }
};

}  // namespace

Ft1Utilities::Ft1Utilities(MonitorCore& core, const ServiceUnit& unit) : core_(core), unit_(unit) {
  MainWindow& main = core.mainWindow();
  main.addCommand(kMenuFt1Status, [this] { OpenStatusMonitor(); });
  main.addCommand(kMenuFt1Statistics, [this] { OpenStatistics(); });
  main.addCommand(kMenuFt1Configuration, [this] { RunConfiguration(); });
  main.addCommand(kMenuAdvancedFt1, [this] { OpenTerminal(); });
  main.addUtilityWindowCloser([this] { if (status_.isOpen()) closeStatusMonitor(); });
  main.addDestroyListener([this] { destroyAll(); });
}

void Ft1Utilities::giveBackItem(int id) {
  bool available = core_.connection().connected() && unit_.frontEndType() == kFrontEndNone && unit_.ft1Present();
  core_.host().setMenuEnabled(id, available);
}

void Ft1Utilities::keepOpenWindowItemsGrey() {
  if (statistics_.isOpen()) core_.host().setMenuEnabled(kMenuFt1Statistics, false);
  if (terminal_.isOpen()) core_.host().setMenuEnabled(kMenuAdvancedFt1, false);
}

void Ft1Utilities::OpenStatusMonitor() {
  if (status_.raise()) return;
  if (uint8_t rc = flags_.change(core_.exec(), FT1_STATUS_MONITOR, 0); rc != 0) {
    static const OpeningMessages messages{
        {"T1 Status Window can not be opened because the monitor is not connected to VR20/FT-1 or VR40/FT-1 "
         "adapter.",
         "T1 Status Window", ui::Icon::Error},
        {"Cannot Enable T1 Status Monitor on Remote Driver", "Line Tracing", ui::Icon::Warning},
        {"The FT1 asynchronous transmit buffer is currently occupied. Please repeat the command", "Line Tracing",
         ui::Icon::Warning},
        {"T1 Status Window can not be opened.", "T1 Status Window", ui::Icon::Error},
    };
    core_.prompter().show(messages.pick(rc));
    return;
  }
  core_.host().setMenuEnabled(kMenuFt1Status, false);
  auto window = std::make_shared<Ft1StatusWindow>(core_.host(), core_.prompter(), core_.exec(),
                                                  [this] { closeStatusMonitor(); });
  if (!status_.create(core_.host(), Ft1StatusTemplate(), ui::WindowKind::TopLevel, std::move(window)))
    giveBackItem(kMenuFt1Status);
}

void Ft1Utilities::closeStatusMonitor() {
  if (!status_.isOpen()) return;
  status_.window()->stopTimer();
  flags_.change(core_.exec(), 0, FT1_STATUS_MONITOR);
  giveBackItem(kMenuFt1Status);
  status_.destroy(core_.host());
}

void Ft1Utilities::OpenStatistics() {
  if (statistics_.raise()) return;
  if (uint8_t rc = flags_.change(core_.exec(), FT1_STATISTICS_MONITOR, FT1_STATISTICS_FLUSH); rc != 0) {
    static const char kCaption[] = "T1 Operational \\ Err Statistcs Window";
    static const OpeningMessages messages{
        {"T1 Operational and Error Statistics Window can not be opened because the monitor is not connected to "
         "VR20/FT-1 or VR40/FT-1 adapter.",
         kCaption, ui::Icon::Error},
        {"Cannot Enable T1 Operational and Error Statistics Monitor on Remote Driver", kCaption, ui::Icon::Warning},
        {"The T1 asynchronous transmit buffer is currently occupied. Please repeat the command", kCaption,
         ui::Icon::Warning},
        {"T1 Operational and Error Statistics Window can not be opened.", kCaption, ui::Icon::Error},
    };
    core_.prompter().show(messages.pick(rc));
    return;
  }
  core_.host().setMenuEnabled(kMenuFt1Statistics, false);
  auto window = std::make_shared<Ft1StatisticsWindow>(core_.host(), core_.prompter(), core_.exec(), flags_,
                                                      [this] { closeStatistics(); });
  if (!statistics_.create(core_.host(), Ft1StatisticsTemplate(), ui::WindowKind::MdiChild, std::move(window)))
    giveBackItem(kMenuFt1Statistics);
}

void Ft1Utilities::closeStatistics() {
  if (!statistics_.isOpen()) return;
  flags_.change(core_.exec(), 0, FT1_STATISTICS_MONITOR);
  giveBackItem(kMenuFt1Statistics);
  statistics_.window()->stopTimer();
  statistics_.destroy(core_.host());
}

void Ft1Utilities::RunConfiguration() {
  core_.host().setMenuEnabled(kMenuFt1Configuration, false);
  Ft1ConfigDialog dialog(core_.exec(), core_.prompter());
  core_.host().runModal(Ft1ConfigTemplate(), dialog);
  giveBackItem(kMenuFt1Configuration);
}

void Ft1Utilities::OpenTerminal() {
  if (terminal_.raise()) return;
  core_.host().setMenuEnabled(kMenuAdvancedFt1, false);
  auto window = std::make_shared<Ft1TerminalWindow>(core_.host(), core_.prompter(), core_.exec(),
                                                    [this] { closeTerminal(); });
  if (!terminal_.create(core_.host(), Ft1TerminalTemplate(), ui::WindowKind::OwnedPopup, std::move(window)))
    giveBackItem(kMenuAdvancedFt1);
}

void Ft1Utilities::closeTerminal() {
  if (!terminal_.isOpen()) return;
  terminal_.window()->stopTimer();
  terminal_.destroy(core_.host());
  giveBackItem(kMenuAdvancedFt1);
}

void Ft1Utilities::destroyAll() {
  if (status_.isOpen()) status_.window()->stopTimer();
  status_.destroy(core_.host());
  if (statistics_.isOpen()) statistics_.window()->stopTimer();
  statistics_.destroy(core_.host());
  if (terminal_.isOpen()) terminal_.window()->stopTimer();
  terminal_.destroy(core_.host());
}
