#include "tests/support/fake_host.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace fake {

FakeHost::~FakeHost() = default;

bool FakeHost::createMainWindow(const std::string& title, const ui::MenuTemplate& menu,
                                ui::MainWindowHandler& handler) {
  if (main_window_fails) return false;
  main_handler_ = &handler;
  main_title_ = title;
  for (const auto& m : menu.menus) {
    if (m.command_id != 0) menu_[m.command_id] = MenuState{m.title, false, true};
    for (const auto& item : m.items)
      if (!item.separator()) menu_[item.id] = MenuState{item.text, false, !item.greyed};
  }
  return true;
}

void FakeHost::closeMainWindow() {
  ++close_main_requests;
  post([this] { destroyMainWindow(); });
}

void FakeHost::destroyMainWindow() {
  if (main_handler_ == nullptr) return;
  auto* handler = main_handler_;
  handler->onDestroy();
  main_handler_ = nullptr;
  // Child windows go with their parent.
  for (auto& w : windows_)
    if (w.kind != ui::WindowKind::TopLevel) {
      w.form->markDestroyed();
      destroyed_.push_back(std::move(w.form));
    }
  std::erase_if(windows_, [](const Window& w) { return w.form == nullptr; });
}

void FakeHost::setMenuChecked(int id, bool checked) {
  auto it = menu_.find(id);
  if (it == menu_.end()) ADD_FAILURE() << "no menu item " << id;
  else it->second.checked = checked;
}

bool FakeHost::isMenuChecked(int id) const {
  auto it = menu_.find(id);
  return it != menu_.end() && it->second.checked;
}

void FakeHost::setMenuEnabled(int id, bool enabled) {
  auto it = menu_.find(id);
  if (it == menu_.end()) ADD_FAILURE() << "no menu item " << id;
  else it->second.enabled = enabled;
}

bool FakeHost::isMenuEnabled(int id) const {
  auto it = menu_.find(id);
  return it != menu_.end() && it->second.enabled;
}

bool FakeHost::restoreMainWindowGeometry(const std::string& geometry) {
  if (geometry.rfind("geometry:", 0) != 0) return false;
  main_geometry = geometry;
  return true;
}

std::optional<ui::WindowPlacement> FakeHost::placement(const ui::Form& form) const {
  const Window* w = find(form);
  if (w == nullptr || w->kind != ui::WindowKind::MdiChild) return std::nullopt;
  ui::WindowPlacement p = w->placement;
  p.minimized = form.isMinimized();
  return p;
}

void FakeHost::place(ui::Form& form, const ui::WindowPlacement& placement) {
  Window* w = find(form);
  if (w == nullptr || w->kind != ui::WindowKind::MdiChild) return;
  w->placement = placement;
  if (placement.minimized) form.minimize();
  else form.restore();
}

void FakeHost::setStatusText(ui::StatusField field, const std::string& text) {
  status_history[field].push_back(text);
}

std::string FakeHost::statusText(ui::StatusField field) const {
  auto it = status_history.find(field);
  return it == status_history.end() || it->second.empty() ? std::string() : it->second.back();
}

void FakeHost::clickStatus(ui::StatusField field) {
  ASSERT_NE(main_handler_, nullptr);
  main_handler_->onStatusClicked(field);
}

std::string FakeHost::menuText(int id) const {
  auto it = menu_.find(id);
  return it == menu_.end() ? std::string() : it->second.text;
}

bool FakeHost::installPollTimer(unsigned period_ms) {
  poll_timer_active_ = poll_timer_available;
  if (poll_timer_active_) poll_timer_period_ = period_ms;
  return poll_timer_active_;
}

void FakeHost::command(int id) {
  ASSERT_NE(main_handler_, nullptr);
  if (!isMenuEnabled(id)) ADD_FAILURE() << "menu item " << id << " is greyed";
  main_handler_->onMenuCommand(id);
}

void FakeHost::firePollTimer() {
  if (main_handler_ != nullptr && poll_timer_active_) main_handler_->onPollTimer();
}

void FakeHost::loopPasses(unsigned n) {
  for (unsigned i = 0; i < n && main_handler_ != nullptr; ++i) main_handler_->onLoopPass();
}

void FakeHost::restoreMainWindow() {
  if (main_handler_ != nullptr) main_handler_->onRestored();
}

void FakeHost::onModal(const std::string& template_name, ModalScript script) {
  scripts_.emplace_back(template_name, std::move(script));
}

int FakeHost::runModal(const ui::FormTemplate& form, ui::FormHandler& handler) {
  modals_run_.push_back(form.name);
  FakeForm dialog(form, handler);
  handler.onInit(dialog);
  if (dialog.ended()) return dialog.result();
  if (scripts_.empty() || scripts_.front().first != form.name) {
    ADD_FAILURE() << "modal dialog " << form.name << " opened without a script";
    return -1;
  }
  auto script = std::move(scripts_.front().second);
  scripts_.pop_front();
  script(dialog);
  if (!dialog.ended()) {
    ADD_FAILURE() << "modal dialog " << form.name << " was left open by its script";
    return -1;
  }
  return dialog.result();
}

ui::Form* FakeHost::createWindow(const ui::FormTemplate& form, ui::FormHandler& handler,
                                 ui::WindowKind kind) {
  if (window_creation_fails) return nullptr;
  // The template's dialog units stand in for pixels.
  windows_.push_back(Window{std::make_unique<FakeForm>(form, handler), kind, {}, {form.x, form.y, form.w, form.h}});
  FakeForm* created = windows_.back().form.get();
  handler.onInit(*created);
  return created;
}

FakeHost::Window* FakeHost::find(const ui::Form& form) {
  for (auto& w : windows_)
    if (w.form.get() == &form) return &w;
  return nullptr;
}

const FakeHost::Window* FakeHost::find(const ui::Form& form) const {
  return const_cast<FakeHost*>(this)->find(form);
}

void FakeHost::destroyWindow(ui::Form& form) {
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [&](const Window& w) { return w.form.get() == &form; });
  if (it == windows_.end()) {
    ADD_FAILURE() << "destroying a window that does not exist";
    return;
  }
  it->form->markDestroyed();
  destroyed_.push_back(std::move(it->form));
  windows_.erase(it);
}

bool FakeHost::startTimer(ui::Form& form, int timer_id, unsigned period_ms) {
  if (!timers_available) return false;
  Window* w = find(form);
  if (w == nullptr) {
    ADD_FAILURE() << "timer on a window that does not exist";
    return false;
  }
  w->timers[timer_id] = period_ms;
  return true;
}

void FakeHost::stopTimer(ui::Form& form, int timer_id) {
  if (Window* w = find(form)) w->timers.erase(timer_id);
}

bool FakeHost::timerRunning(const ui::Form& form, int timer_id) const {
  const Window* w = find(form);
  return w != nullptr && w->timers.count(timer_id) != 0;
}

unsigned FakeHost::timerPeriod(const ui::Form& form, int timer_id) const {
  const Window* w = find(form);
  if (w == nullptr) return 0;
  auto it = w->timers.find(timer_id);
  return it == w->timers.end() ? 0 : it->second;
}

void FakeHost::fireTimer(ui::Form& form, int timer_id) {
  if (timerRunning(form, timer_id)) find(form)->form->handler().onTimer(timer_id);
}

void FakeHost::postCloseRequest(ui::Form& form) {
  const ui::Form* target = &form;
  post([this, target] {
    if (Window* w = find(*target)) w->form->handler().onCloseRequest();
  });
}

void FakeHost::post(std::function<void()> fn) {
  std::lock_guard lock(posted_mutex_);
  posted_.push_back(std::move(fn));
}

void FakeHost::runPosted() {
  for (;;) {
    std::function<void()> fn;
    {
      std::lock_guard lock(posted_mutex_);
      if (posted_.empty()) return;
      fn = std::move(posted_.front());
      posted_.pop_front();
    }
    fn();
  }
}

FakeForm* FakeHost::window(const std::string& template_name) const {
  for (const auto& w : windows_)
    if (w.form->formTemplate().name == template_name) return w.form.get();
  return nullptr;
}

std::vector<FakeForm*> FakeHost::windows() const {
  std::vector<FakeForm*> out;
  for (const auto& w : windows_) out.push_back(w.form.get());
  return out;
}

ui::WindowKind FakeHost::kindOf(const ui::Form& form) const {
  const Window* w = find(form);
  return w != nullptr ? w->kind : ui::WindowKind::MdiChild;
}

}  // namespace fake
