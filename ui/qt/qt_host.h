#pragma once
// The Host on Qt: the main window with its MDI area, menu and polling
// timer, the never-waiting loop, and forms as dialogs and windows.
//
// Use: construct after the QApplication, create the main window through the
// logic, then `return host.run();`.

#include <QPointer>

#include <memory>
#include <vector>

#include "ui/host.h"

class QMdiArea;
class QMdiSubWindow;
class QObject;
class QTimer;
class QWidget;

namespace ui {

class MainWindow;
class MenuBarModel;
class QtForm;
class StatusFields;
class WindowMenu;

class QtHost : public Host {
 public:
  QtHost();
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  // Host
  bool createMainWindow(const std::string& title, const MenuTemplate& menu,
                        MainWindowHandler& handler) override;
  void closeMainWindow() override;
  void setMenuChecked(int id, bool checked) override;
  bool isMenuChecked(int id) const override;
  void setMenuEnabled(int id, bool enabled) override;
  bool isMenuEnabled(int id) const override;
  void arrangeIcons() override;
  std::string mainWindowGeometry() const override;
  bool restoreMainWindowGeometry(const std::string& geometry) override;
  std::optional<WindowPlacement> placement(const Form& form) const override;
  void place(Form& form, const WindowPlacement& placement) override;
  void setStatusText(StatusField field, const std::string& text) override;
  std::string statusText(StatusField field) const override;
  void openFolder(const std::string& path) override;
  bool installPollTimer(unsigned period_ms) override;
  void removePollTimer() override;
  void setNeverWaiting(bool on) override;
  void quit(int exit_code) override;
  int runModal(const FormTemplate& form, FormHandler& handler) override;
  Form* createWindow(const FormTemplate& form, FormHandler& handler, WindowKind kind) override;
  void destroyWindow(Form& form) override;
  bool startTimer(Form& form, int timer_id, unsigned period_ms) override;
  void stopTimer(Form& form, int timer_id) override;
  void postCloseRequest(Form& form) override;
  void post(std::function<void()> fn) override;

  // Runs the main loop until quit(); returns the exit code given to it.
  int run();

  // The main window while it exists (not yet closed), else null.
  QWidget* mainWindow() const;
  QMdiArea* mdiArea() const;
  // The live form, or null when it is not one of this host's.
  QtForm* qtForm(const Form& form) const;
  StatusFields* statusFields() const { return status_; }
  WindowMenu* windowMenu() const { return window_menu_; }
  // Where openFolder sends the folder; by default the desktop's file manager.
  std::function<void(const QString& folder)> show_folder;

 private:
  void mainWindowClosing();
  void mainWindowRestored();
  QWidget* dialogParent() const;

  std::unique_ptr<QObject> context_;  // receives posted work; owns the timers
  QTimer* poll_timer_;
  QTimer* loop_timer_;
  std::unique_ptr<MainWindow> main_window_;
  MenuBarModel* menu_ = nullptr;
  StatusFields* status_ = nullptr;
  WindowMenu* window_menu_ = nullptr;
  MainWindowHandler* main_handler_ = nullptr;
  bool main_closed_ = false;
  std::vector<QtForm*> forms_;        // live modeless windows, owned
  std::vector<QtForm*> modal_forms_;  // dialogs running, innermost last
  std::vector<QPointer<QtForm>> retired_;  // destroyed, deletion pending
  bool loop_running_ = false;
  bool quit_requested_ = false;
  int exit_code_ = 0;
};

}  // namespace ui
