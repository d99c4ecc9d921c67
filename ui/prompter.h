#pragma once
// Message boxes: a fixed text, a caption, an icon and OK or Retry/Cancel.

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

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Shows the box modally; timers and polling go on meanwhile.
  virtual Answer show(const Prompt& prompt) = 0;
};

}  // namespace ui
