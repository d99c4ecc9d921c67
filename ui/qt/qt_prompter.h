#pragma once
// Message boxes and the save-file prompt on Qt.

#include "ui/prompter.h"

namespace ui {

class QtHost;

class QtPrompter : public Prompter {
 public:
  explicit QtPrompter(QtHost& host) : host_(host) {}
  Answer show(const Prompt& prompt) override;
  std::optional<std::string> askSavePath(const SavePathPrompt& prompt) override;
  // Answers every prompt as its Escape key would, writing its text to the
  // standard error: nobody is there to read it during a signalled shutdown.
  void setUnattended(bool on) { unattended_ = on; }

 private:
  QtHost& host_;
  bool unattended_ = false;
};

}  // namespace ui
