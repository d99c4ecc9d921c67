#include "tests/support/fake_prompter.h"

namespace fake {

ui::Answer FakePrompter::show(const ui::Prompt& prompt) {
  shown_.push_back(prompt);
  if (while_shown) while_shown(prompt);
  if (prompt.buttons == ui::Buttons::Ok) return ui::Answer::Ok;
  if (answers_.empty()) return ui::Answer::Cancel;
  ui::Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

std::optional<std::string> FakePrompter::askSavePath(const ui::SavePathPrompt& prompt) {
  path_prompts_.push_back(prompt);
  if (paths_.empty()) return std::nullopt;
  std::optional<std::string> path = std::move(paths_.front());
  paths_.pop_front();
  return path;
}

}  // namespace fake
