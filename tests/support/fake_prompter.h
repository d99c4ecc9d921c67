#pragma once
// Records every message box and answers from a script.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/prompter.h"

namespace fake {

class FakePrompter : public ui::Prompter {
 public:
  ui::Answer show(const ui::Prompt& prompt) override;
  std::optional<std::string> askSavePath(const ui::SavePathPrompt& prompt) override;

  // Answers for Retry/Cancel boxes, used in order; when none is left the
  // answer is Cancel.
  void answer(ui::Answer a) { answers_.push_back(a); }
  // Answers for save-file prompts, used in order: a path, or nothing for
  // Cancel; when none is left the prompt is cancelled.
  void answerPath(std::optional<std::string> path) { paths_.push_back(std::move(path)); }
  const std::vector<ui::SavePathPrompt>& pathPrompts() const { return path_prompts_; }
  // Runs while a box is shown, as the modal loop would let timers run.
  std::function<void(const ui::Prompt&)> while_shown;

  const std::vector<ui::Prompt>& shown() const { return shown_; }
  const ui::Prompt& last() const { return shown_.back(); }
  size_t count() const { return shown_.size(); }
  void clear() { shown_.clear(); }

 private:
  std::deque<ui::Answer> answers_;
  std::vector<ui::Prompt> shown_;
  std::deque<std::optional<std::string>> paths_;
  std::vector<ui::SavePathPrompt> path_prompts_;
};

}  // namespace fake
