#pragma once
// The windowing services the logic uses: the main window with its menu and
// polling timer, modal and modeless forms, window timers, the UI thread.

#include <functional>
#include <optional>
#include <string>

#include "ui/form.h"
#include "ui/menu.h"

namespace ui {

enum class WindowKind {
  MdiChild,    // a tool window inside the main window
  OwnedPopup,  // a separate window owned by the main window
  TopLevel,    // a separate window without owner
};

// Where a tool window sits inside the main window, in pixels, and whether
// it is minimised.
struct WindowPlacement {
  int x = 0, y = 0, w = 0, h = 0;
  bool minimized = false;
};

// The fields of the main window's status bar.
enum class StatusField { Device, Capture };

// Events of the main window.
class MainWindowHandler {
 public:
  virtual ~MainWindowHandler() = default;
  virtual void onMenuCommand(int id) = 0;
  virtual void onPollTimer() = 0;
  // One pass of the never-waiting loop; passes run also while a menu, a
  // modal dialog or a message box is open.
  virtual void onLoopPass() = 0;
  // The main window took a normal size (neither minimised nor maximised).
  virtual void onRestored() = 0;
  // The main window is being destroyed; its child windows still exist.
  virtual void onDestroy() = 0;
  // The user clicked a field of the status bar.
  virtual void onStatusClicked(StatusField field) { (void)field; }
};

class Host {
 public:
  virtual ~Host() = default;

  // Main window. Returns false when it cannot be created.
  virtual bool createMainWindow(const std::string& title, const MenuTemplate& menu,
                                MainWindowHandler& handler) = 0;
  // A close request to the main window; it is destroyed and the loop ends.
  virtual void closeMainWindow() = 0;
  virtual void setMenuChecked(int id, bool checked) = 0;
  virtual bool isMenuChecked(int id) const = 0;
  virtual void setMenuEnabled(int id, bool enabled) = 0;
  virtual bool isMenuEnabled(int id) const = 0;
  // Arranges the minimised child windows along the bottom of the main window.
  virtual void arrangeIcons() = 0;
  // The main window's position, size and state as opaque printable text,
  // and back; false when the text is not such a geometry.
  virtual std::string mainWindowGeometry() const = 0;
  virtual bool restoreMainWindowGeometry(const std::string& geometry) = 0;
  // A tool window's placement; nothing for a window that is not a tool window.
  virtual std::optional<WindowPlacement> placement(const Form& form) const = 0;
  // Moves a tool window; one placed outside the main window's area comes
  // back inside it.
  virtual void place(Form& form, const WindowPlacement& placement) = 0;
  // One line in a field of the status bar; empty text hides the field.
  virtual void setStatusText(StatusField field, const std::string& text) = 0;
  virtual std::string statusText(StatusField field) const = 0;
  // Shows a folder in the desktop's file manager.
  virtual void openFolder(const std::string& path) = 0;

  // The polling timer of the main window (timer id 0).
  virtual bool installPollTimer(unsigned period_ms) = 0;
  virtual void removePollTimer() = 0;
  // With true the loop never waits and reports every pass; with false it
  // sleeps until an event arrives.
  virtual void setNeverWaiting(bool on) = 0;
  // Ends the main loop with the exit code.
  virtual void quit(int exit_code) = 0;

  // Runs a modal dialog until its handler calls endDialog; returns the result.
  virtual int runModal(const FormTemplate& form, FormHandler& handler) = 0;
  // Creates a modeless window; the handler's onInit runs before this returns.
  // Returns null when the window cannot be created.
  virtual Form* createWindow(const FormTemplate& form, FormHandler& handler, WindowKind kind) = 0;
  // Destroys a modeless window; its handler gets no further events. Safe to
  // call from the window's own event.
  virtual void destroyWindow(Form& form) = 0;
  virtual bool startTimer(Form& form, int timer_id, unsigned period_ms) = 0;
  virtual void stopTimer(Form& form, int timer_id) = 0;
  // Delivers onCloseRequest to the window later, if it still exists then.
  virtual void postCloseRequest(Form& form) = 0;
  // Runs fn on the UI thread later. Safe from any thread.
  virtual void post(std::function<void()> fn) = 0;
};

}  // namespace ui
