#pragma once
// A Host without a display. Tests drive it: menu commands, the polling
// timer, loop passes, window timers, scripted modal dialogs, posted work.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/support/fake_form.h"
#include "ui/host.h"

namespace fake {

class FakeHost : public ui::Host {
 public:
  using ModalScript = std::function<void(FakeForm&)>;

  ~FakeHost() override;

  // ui::Host
  bool createMainWindow(const std::string& title, const ui::MenuTemplate& menu,
                        ui::MainWindowHandler& handler) override;
  void closeMainWindow() override;
  void setMenuChecked(int id, bool checked) override;
  bool isMenuChecked(int id) const override;
  void setMenuEnabled(int id, bool enabled) override;
  bool isMenuEnabled(int id) const override;
  void arrangeIcons() override { ++arrange_count; }
  std::string mainWindowGeometry() const override { return main_geometry; }
  bool restoreMainWindowGeometry(const std::string& geometry) override;
  std::optional<ui::WindowPlacement> placement(const ui::Form& form) const override;
  void place(ui::Form& form, const ui::WindowPlacement& placement) override;
  void setStatusText(ui::StatusField field, const std::string& text) override;
  std::string statusText(ui::StatusField field) const override;
  void openFolder(const std::string& path) override { opened_folders.push_back(path); }
  bool installPollTimer(unsigned period_ms) override;
  void removePollTimer() override { poll_timer_active_ = false; }
  void setNeverWaiting(bool on) override { never_waiting_ = on; }
  void quit(int exit_code) override { quit_code = exit_code; }
  int runModal(const ui::FormTemplate& form, ui::FormHandler& handler) override;
  ui::Form* createWindow(const ui::FormTemplate& form, ui::FormHandler& handler,
                         ui::WindowKind kind) override;
  void destroyWindow(ui::Form& form) override;
  bool startTimer(ui::Form& form, int timer_id, unsigned period_ms) override;
  void stopTimer(ui::Form& form, int timer_id) override;
  void postCloseRequest(ui::Form& form) override;
  void post(std::function<void()> fn) override;

  // Settings a test may change.
  bool main_window_fails = false;
  bool poll_timer_available = true;
  bool timers_available = true;
  bool window_creation_fails = false;

  // The main window, acting as the user and the system.
  void command(int id);                 // a menu command
  void firePollTimer();
  void loopPasses(unsigned n);          // passes of the never-waiting loop
  void restoreMainWindow();
  void clickStatus(ui::StatusField field);
  void destroyMainWindow();             // what a close request leads to
  bool mainWindowExists() const { return main_handler_ != nullptr; }
  std::string mainTitle() const { return main_title_; }
  bool pollTimerActive() const { return poll_timer_active_; }
  unsigned pollTimerPeriod() const { return poll_timer_period_; }
  bool neverWaiting() const { return never_waiting_; }
  bool hasMenuItem(int id) const { return menu_.count(id) != 0; }
  std::string menuText(int id) const;

  // Modal dialogs: scripts run in order, each for the template it names.
  // A dialog that the script leaves open fails the test.
  void onModal(const std::string& template_name, ModalScript script);
  const std::vector<std::string>& modalsRun() const { return modals_run_; }
  size_t pendingModalScripts() const { return scripts_.size(); }
  // Scripts of dialogs that ended by themselves before their script ran.
  void dropModalScripts() { scripts_.clear(); }

  // Modeless windows.
  FakeForm* window(const std::string& template_name) const;  // live window or null
  std::vector<FakeForm*> windows() const;                    // live, in creation order
  ui::WindowKind kindOf(const ui::Form& form) const;
  bool timerRunning(const ui::Form& form, int timer_id) const;
  unsigned timerPeriod(const ui::Form& form, int timer_id) const;
  void fireTimer(ui::Form& form, int timer_id);
  // Runs posted work and posted close requests until none is left.
  void runPosted();

  int arrange_count = 0;
  // The main window's geometry text; restoring accepts only text that starts "geometry:".
  std::string main_geometry = "geometry:default";
  // Every text given to a status field, in order.
  std::map<ui::StatusField, std::vector<std::string>> status_history;
  std::vector<std::string> opened_folders;
  int quit_code = -1;
  int close_main_requests = 0;

 private:
  struct MenuState {
    std::string text;
    bool checked = false;
    bool enabled = true;
  };
  struct Window {
    std::unique_ptr<FakeForm> form;
    ui::WindowKind kind;
    std::map<int, unsigned> timers;
    ui::WindowPlacement placement;
  };
  Window* find(const ui::Form& form);
  const Window* find(const ui::Form& form) const;

  ui::MainWindowHandler* main_handler_ = nullptr;
  std::string main_title_;
  std::map<int, MenuState> menu_;
  bool poll_timer_active_ = false;
  unsigned poll_timer_period_ = 0;
  bool never_waiting_ = false;
  std::deque<std::pair<std::string, ModalScript>> scripts_;
  std::vector<std::string> modals_run_;
  std::vector<Window> windows_;
  std::vector<std::unique_ptr<FakeForm>> destroyed_;
  std::mutex posted_mutex_;
  std::deque<std::function<void()>> posted_;
};

}  // namespace fake
