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

}  // namespace fake
