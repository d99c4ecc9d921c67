#include "ui/qt/control_widgets.h"

#include <QLineEdit>

#include <algorithm>

namespace ui {

namespace {
qsizetype NonDigits(const QString& s) {
  return std::count_if(s.begin(), s.end(), [](QChar c) { return c < u'0' || c > u'9'; });
}
}  // namespace

EditValidator::EditValidator(QLineEdit* edit, bool digits_only, int max_bytes)
    : QValidator(edit), before_(edit->text()), digits_only_(digits_only), max_bytes_(max_bytes) {
  connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
}

QValidator::State EditValidator::validate(QString& input, int&) const {
  if (digits_only_ && NonDigits(input) > NonDigits(before_)) return Invalid;
  if (max_bytes_ > 0) {
    const auto bytes = input.toUtf8().size();
    if (bytes > max_bytes_ && bytes > before_.toUtf8().size()) return Invalid;
  }
  return Acceptable;
}

}  // namespace ui
