#include "tests/support/fake_form.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fake {

FakeForm::FakeForm(const ui::FormTemplate& t, ui::FormHandler& handler)
    : template_(t), handler_(handler), title_(t.title) {
  for (const auto& c : t.controls) {
    if (c.id == ui::kNoId) continue;
    ControlState s;
    s.text = c.text;
    s.enabled = (c.style & ui::kDisabled) == 0;
    s.visible = (c.style & ui::kHidden) == 0;
    controls_[c.id] = s;
  }
}

void FakeForm::touch() const {
  if (destroyed_) ADD_FAILURE() << "form " << template_.name << " used after it was destroyed";
}

ControlState& FakeForm::state(int id) {
  touch();
  auto it = controls_.find(id);
  if (it == controls_.end()) {
    ADD_FAILURE() << "form " << template_.name << " has no control " << id;
    return controls_[id];
  }
  return it->second;
}

const ControlState& FakeForm::state(int id) const {
  return const_cast<FakeForm*>(this)->state(id);
}

void FakeForm::setText(int id, std::string_view text) { state(id).text = text; }
std::string FakeForm::text(int id) const { return state(id).text; }

void FakeForm::setChecked(int id, bool checked) { state(id).checked = checked; }
bool FakeForm::isChecked(int id) const { return state(id).checked; }
void FakeForm::setEnabled(int id, bool enabled) { state(id).enabled = enabled; }
bool FakeForm::isEnabled(int id) const { return state(id).enabled; }
void FakeForm::setVisible(int id, bool visible) { state(id).visible = visible; }
void FakeForm::setLight(int id, ui::LightColour colour) { state(id).light = colour; }
ui::LightColour FakeForm::light(int id) const { return state(id).light; }

void FakeForm::listClear(int id) {
  auto& s = state(id);
  s.lines.clear();
  s.selection = -1;
}

int FakeForm::listAdd(int id, std::string_view text) {
  auto& s = state(id);
  const auto* c = template_.find(id);
  if (c != nullptr && (c->style & ui::kSorted)) {
    auto pos = std::upper_bound(s.lines.begin(), s.lines.end(), std::string(text));
    return static_cast<int>(s.lines.insert(pos, std::string(text)) - s.lines.begin());
  }
  s.lines.emplace_back(text);
  return static_cast<int>(s.lines.size()) - 1;
}

void FakeForm::listInsert(int id, int index, std::string_view text) {
  auto& s = state(id);
  if (index < 0 || index > static_cast<int>(s.lines.size())) index = static_cast<int>(s.lines.size());
  s.lines.insert(s.lines.begin() + index, std::string(text));
}

void FakeForm::listDelete(int id, int index) {
  auto& s = state(id);
  if (index < 0 || index >= static_cast<int>(s.lines.size())) return;
  s.lines.erase(s.lines.begin() + index);
  if (s.selection == index) s.selection = -1;
  else if (s.selection > index) --s.selection;
}

int FakeForm::listCount(int id) const { return static_cast<int>(state(id).lines.size()); }

std::string FakeForm::listText(int id, int index) const {
  const auto& s = state(id);
  if (index < 0 || index >= static_cast<int>(s.lines.size())) return {};
  return s.lines[index];
}

void FakeForm::listSelect(int id, int index) {
  auto& s = state(id);
  const auto* c = template_.find(id);
  if (c != nullptr && (c->style & ui::kNoSelection)) return;
  s.selection = (index >= 0 && index < static_cast<int>(s.lines.size())) ? index : -1;
}

int FakeForm::listSelection(int id) const { return state(id).selection; }

void FakeForm::endDialog(int result) {
  touch();
  ended_ = true;
  result_ = result;
}

void FakeForm::click(int id) {
  auto& s = state(id);
  if (!s.enabled || !s.visible) {
    ADD_FAILURE() << "control " << id << " of " << template_.name << " cannot be clicked";
    return;
  }
  const auto* c = template_.find(id);
  if (c != nullptr && !(c->style & ui::kManualCheck)) {
    if (c->kind == ui::ControlKind::CheckBox) s.checked = !s.checked;
    if (c->kind == ui::ControlKind::RadioButton) {
      // An automatic radio button unchecks the others of its group.
      const auto& all = template_.controls;
      auto self = std::find_if(all.begin(), all.end(), [&](const auto& x) { return x.id == id; });
      auto first = self;
      while (first != all.begin() && !(first->style & ui::kGroupStart)) --first;
      for (auto it = first; it != all.end() && it->kind == ui::ControlKind::RadioButton; ++it) {
        if (it != first && (it->style & ui::kGroupStart)) break;
        controls_[it->id].checked = false;
      }
      s.checked = true;
    }
  }
  handler_.onCommand(id, ui::Notify::Clicked);
}

void FakeForm::type(int id, std::string_view text) { state(id).text = text; }

void FakeForm::edit(int id, std::string_view text) {
  state(id).text = text;
  const auto* c = template_.find(id);
  if (c != nullptr && (c->style & ui::kNotifyEdits)) {
    touch();
    handler_.onCommand(id, ui::Notify::Edited);
  }
}

void FakeForm::select(int id, int index) {
  auto& s = state(id);
  s.selection = index;
  const auto* c = template_.find(id);
  if (c != nullptr && c->kind == ui::ControlKind::ComboBox && index >= 0 &&
      index < static_cast<int>(s.lines.size()))
    s.text = s.lines[index];
  handler_.onCommand(id, ui::Notify::SelectionChanged);
}

void FakeForm::doubleClick(int id, int index) {
  state(id).selection = index;
  handler_.onCommand(id, ui::Notify::DoubleClicked);
}

void FakeForm::closeBox() {
  touch();
  handler_.onCloseRequest();
}

void FakeForm::pressEnter() {
  touch();
  for (const auto& c : template_.controls) {
    if (c.kind != ui::ControlKind::Button || !(c.style & ui::kDefaultButton) || !state(c.id).enabled) continue;
    handler_.onCommand(c.id, ui::Notify::Clicked);
    return;
  }
}

void FakeForm::typeChar(uint8_t ch) {
  touch();
  handler_.onChar(ch);
}

void FakeForm::mouseDown() {
  touch();
  handler_.onMouseDown();
}

std::vector<std::string> FakeForm::lines(int id) const { return state(id).lines; }

}  // namespace fake
