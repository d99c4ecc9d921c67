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

 private:
  QtHost& host_;
};

}  // namespace ui
