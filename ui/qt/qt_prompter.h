#pragma once
// Message boxes on Qt.

#include "ui/prompter.h"

namespace ui {

class QtHost;

class QtPrompter : public Prompter {
 public:
  explicit QtPrompter(QtHost& host) : host_(host) {}
  Answer show(const Prompt& prompt) override;

 private:
  QtHost& host_;
};

}  // namespace ui
