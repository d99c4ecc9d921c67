#pragma once
// Message boxes: a fixed text, a caption, an icon and OK or Retry/Cancel;
// and the prompt for the path of a file to write.

#include <optional>
#include <string>

namespace ui {

class Form;

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, RetryCancel };
enum class Answer { Ok, Retry, Cancel };
enum class Owner { MainWindow, None, Form };

struct Prompt {
  std::string text;
  std::string caption;
  Icon icon = Icon::None;
  Buttons buttons = Buttons::Ok;
  Owner owner = Owner::MainWindow;
  Form* owner_form = nullptr;  // with Owner::Form
};

// A save-file prompt: the user picks or types the path of a file to create.
struct SavePathPrompt {
  std::string caption;
  std::string filter;  // "Name (*.ext)" entries separated by ";;"
  Form* owner_form = nullptr;  // the window the prompt stays above; null for the main window
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Shows the box modally; timers and polling go on meanwhile.
  virtual Answer show(const Prompt& prompt) = 0;
  // Asks modally for a path; nothing when the user cancels.
  virtual std::optional<std::string> askSavePath(const SavePathPrompt& prompt) = 0;
};

}  // namespace ui
