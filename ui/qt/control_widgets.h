#pragma once
// Small widget variants the templates' styles need.

#include <QValidator>

class QLineEdit;

namespace ui {

// A check box, radio button or push button whose state only the program
// changes: a click is reported but does not toggle it.
template <class ButtonWidget>
class ManualCheck : public ButtonWidget {
 public:
  using ButtonWidget::ButtonWidget;

 protected:
  void nextCheckState() override {}
};

// What the user may type into an edit: digits only and a length limit in
// bytes. Text the program sets is never cut, and the user may always
// shorten it.
class EditValidator : public QValidator {
 public:
  EditValidator(QLineEdit* edit, bool digits_only, int max_bytes);
  State validate(QString& input, int& pos) const override;

 private:
  // The edit already holds the new text while it is validated.
  QString before_;
  bool digits_only_;
  int max_bytes_;
};

}  // namespace ui
