#pragma once
// The windowing services the logic uses: the main window with its menu and
// polling timer, modal and modeless forms, window timers, the UI thread.

#include <functional>
#include <string>

#include "ui/form.h"
#include "ui/menu.h"

namespace ui {

enum class WindowKind {
  MdiChild,    // a tool window inside the main window
  OwnedPopup,  // a separate window owned by the main window
  TopLevel,    // a separate window without owner
};

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
