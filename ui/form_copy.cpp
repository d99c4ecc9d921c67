#include "ui/form_copy.h"

namespace ui {

namespace {

std::string Caption(std::string_view label) {
  std::string caption;
  for (size_t i = 0; i < label.size(); ++i) {
    // "&&" is a literal ampersand; a single one marks the mnemonic.
    if (label[i] == '&' && i + 1 < label.size()) ++i;
    caption += label[i];
  }
  while (!caption.empty() && (caption.back() == ':' || caption.back() == ' ')) caption.pop_back();
  return caption;
}

bool ShowsValue(ControlKind kind) { return kind == ControlKind::Text || kind == ControlKind::Edit; }

std::string ValueLines(const Form& form) {
  const FormTemplate& t = form.formTemplate();
  std::string text;
  for (const ControlTemplate& c : t.controls) {
    if (c.kind != ControlKind::Label || c.buddy == kNoId) continue;
    const ControlTemplate* value = t.find(c.buddy);
    if (value == nullptr || !ShowsValue(value->kind)) continue;
    text += Caption(c.text) + '\t' + form.text(c.buddy) + '\n';
  }
  return text;
}

std::string ControlText(const Form& form) {
  const FormTemplate& t = form.formTemplate();
  const ControlTemplate* c = t.find(t.copy_control);
  if (c == nullptr) return {};
  std::string text;
  if (c->kind == ControlKind::ListBox) {
    for (int i = 0, n = form.listCount(c->id); i < n; ++i) text += form.listText(c->id, i) + '\n';
    return text;
  }
  // Multi-line edits keep "\r\n" line ends; the clipboard gets plain ones.
  for (char ch : form.text(c->id))
    if (ch != '\r') text += ch;
  if (!text.empty() && text.back() != '\n') text += '\n';
  return text;
}

}  // namespace

std::string CopyText(const Form& form) {
  switch (form.formTemplate().copy) {
    case CopyKind::Values: return ValueLines(form);
    case CopyKind::ControlText: return ControlText(form);
    case CopyKind::None: break;
  }
  return {};
}

}  // namespace ui
