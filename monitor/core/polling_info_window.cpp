#include "monitor/core/polling_info_window.h"

void PollingInfoWindow::refresh() {
  if (form_->isMinimized()) return;
  form_->setChecked(kTickIndicator, !form_->isChecked(kTickIndicator));
}
