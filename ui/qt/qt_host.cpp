#include "ui/qt/qt_host.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>

#include "ui/qt/form_fonts.h"
#include "ui/qt/form_frames.h"
#include "ui/qt/main_window.h"
#include "ui/qt/menu_bar.h"
#include "ui/qt/qt_form.h"
#include "ui/qt/status_fields.h"
#include "ui/qt/text_conversion.h"
#include "ui/qt/window_menu.h"

namespace ui {

namespace {

constexpr int kMainWindowTop = 200;

DialogUnits UnitsOf(const FormTemplate& form) {
  return DialogUnits(form.fixed_font ? FixedFormFont() : FormFont());
}

// How much of a tool window must stay inside the main window to be reached.
constexpr int kReachable = 40;

bool OnSomeScreen(const QRect& frame) {
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect seen = screen->availableGeometry().intersected(frame);
    if (seen.width() >= kReachable && seen.height() >= kReachable) return true;
  }
  return false;
}

}  // namespace

QtHost::QtHost()
    : context_(std::make_unique<QObject>()),
      poll_timer_(new QTimer(context_.get())),
      loop_timer_(new QTimer(context_.get())) {
  ExposeFramesAsWindows();
  // Only quit() ends the program, as in the logic's own model.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  QObject::connect(poll_timer_, &QTimer::timeout, context_.get(), [this] {
    if (main_handler_ != nullptr) main_handler_->onPollTimer();
  });
  // A zero-interval timer fires on every pass of whichever event loop runs,
  // the ones of modal dialogs, message boxes and menus included.
  loop_timer_->setInterval(0);
  QObject::connect(loop_timer_, &QTimer::timeout, context_.get(), [this] {
    if (main_handler_ != nullptr) main_handler_->onLoopPass();
  });
}

QtHost::~QtHost() {
  main_handler_ = nullptr;
  poll_timer_->stop();
  loop_timer_->stop();
  for (QtForm* form : forms_) delete form;
  forms_.clear();
  for (const QPointer<QtForm>& form : retired_) delete form.data();
  retired_.clear();
  main_window_.reset();
}

bool QtHost::createMainWindow(const std::string& title, const MenuTemplate& menu,
                              MainWindowHandler& handler) {
  if (main_window_) return false;
  main_window_ = std::make_unique<MainWindow>(MainWindow::Events{
      [this] { mainWindowClosing(); }, [this] { mainWindowRestored(); }});
  main_window_->setWindowTitle(ToQString(title));
  main_window_->setAccessibleName(ToQString(title));
  menu_ = new MenuBarModel(main_window_->menuBar(), menu, [this](int id) {
    if (main_handler_ != nullptr) main_handler_->onMenuCommand(id);
  });
  main_handler_ = &handler;
  status_ = new StatusFields(main_window_->statusBar(), [this](StatusField field) {
    if (main_handler_ != nullptr) main_handler_->onStatusClicked(field);
  });
  if (QMenu* windows = menu_->windowMenu()) window_menu_ = new WindowMenu(windows, main_window_->mdiArea());

  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const int width = std::min(960, screen.width());
  const int height = std::clamp(screen.bottom() - kMainWindowTop - 40, 300, 720);
  main_window_->resize(width, height);
  main_window_->move(screen.x() + (screen.width() - width) / 2, kMainWindowTop);
  main_window_->show();
  return true;
}

void QtHost::closeMainWindow() {
  if (!main_window_ || main_closed_) return;
  QPointer<QWidget> window = main_window_.get();
  QMetaObject::invokeMethod(context_.get(), [window] {
    if (window) window->close();
  }, Qt::QueuedConnection);
}

void QtHost::mainWindowClosing() {
  if (main_closed_) return;
  main_closed_ = true;
  poll_timer_->stop();
  loop_timer_->stop();
  if (main_handler_ != nullptr) main_handler_->onDestroy();
  main_handler_ = nullptr;
  // Tool windows go with the main window; windows without an owner stay.
  std::vector<QtForm*> owned;
  for (QtForm* form : forms_)
    if (form->frameKind() != FrameKind::TopLevel) owned.push_back(form);
  for (QtForm* form : owned) destroyWindow(*form);
}

void QtHost::mainWindowRestored() {
  if (main_handler_ != nullptr) main_handler_->onRestored();
}

QWidget* QtHost::mainWindow() const { return main_closed_ ? nullptr : main_window_.get(); }

QMdiArea* QtHost::mdiArea() const { return mainWindow() ? main_window_->mdiArea() : nullptr; }

void QtHost::setMenuChecked(int id, bool checked) {
  if (menu_ != nullptr) menu_->setChecked(id, checked);
}

bool QtHost::isMenuChecked(int id) const { return menu_ != nullptr && menu_->isChecked(id); }

void QtHost::setMenuEnabled(int id, bool enabled) {
  if (menu_ != nullptr) menu_->setEnabled(id, enabled);
}

bool QtHost::isMenuEnabled(int id) const { return menu_ != nullptr && menu_->isEnabled(id); }

// A row along the bottom of the MDI area, left to right, further rows above.
void QtHost::arrangeIcons() {
  QMdiArea* area = mdiArea();
  if (area == nullptr) return;
  const QSize room = area->viewport()->size();
  int x = 0;
  int bottom = room.height();
  int row_height = 0;
  for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder)) {
    if (!sub->isVisible() || !sub->isMinimized()) continue;
    const QSize size = sub->size();
    if (x > 0 && x + size.width() > room.width()) {
      x = 0;
      bottom -= row_height;
      row_height = 0;
    }
    sub->move(x, bottom - size.height());
    x += size.width();
    row_height = std::max(row_height, size.height());
  }
}

// Still answered while the main window closes, so its last place can be kept.
std::string QtHost::mainWindowGeometry() const {
  if (!main_window_) return {};
  return main_window_->saveGeometry().toBase64().toStdString();
}

bool QtHost::restoreMainWindowGeometry(const std::string& geometry) {
  if (mainWindow() == nullptr) return false;
  const auto decoded = QByteArray::fromBase64Encoding(QByteArray::fromStdString(geometry),
                                                      QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded || decoded.decoded.isEmpty() || !main_window_->restoreGeometry(decoded.decoded)) return false;
  // A window left on a screen that is gone comes back onto the primary one.
  if (!OnSomeScreen(main_window_->frameGeometry())) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    main_window_->move(screen.topLeft());
  }
  return true;
}

std::optional<WindowPlacement> QtHost::placement(const Form& form) const {
  QtForm* f = qtForm(form);
  if (f == nullptr || f->frameKind() != FrameKind::MdiChild || f->frame() == nullptr) return std::nullopt;
  const QRect g = f->frame()->geometry();
  return WindowPlacement{g.x(), g.y(), g.width(), g.height(), f->frame()->isMinimized()};
}

void QtHost::place(Form& form, const WindowPlacement& placement) {
  QtForm* f = qtForm(form);
  QMdiArea* area = mdiArea();
  if (f == nullptr || f->frameKind() != FrameKind::MdiChild || f->frame() == nullptr || area == nullptr) return;
  QWidget* frame = f->frame();
  // Tool windows keep the size their controls give them.
  const QSize size = frame->size();
  const QSize room = area->viewport()->size();
  const int x = std::clamp(placement.x, std::min(0, kReachable - size.width()), std::max(0, room.width() - kReachable));
  const int y = std::clamp(placement.y, 0, std::max(0, room.height() - kReachable));
  if (placement.minimized) f->minimize();
  else f->restore();
  frame->move(x, y);
}

void QtHost::setStatusText(StatusField field, const std::string& text) {
  if (status_ != nullptr && mainWindow() != nullptr) status_->setText(field, ToQString(text));
}

std::string QtHost::statusText(StatusField field) const {
  return status_ != nullptr && mainWindow() != nullptr ? ToUtf8(status_->text(field)) : std::string();
}

void QtHost::openFolder(const std::string& path) {
  const QString folder = ToQString(path);
  if (show_folder) show_folder(folder);
  else QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

bool QtHost::installPollTimer(unsigned period_ms) {
  if (mainWindow() == nullptr) return false;
  poll_timer_->start(static_cast<int>(std::max(period_ms, kMinimumTimerPeriodMs)));
  return true;
}

void QtHost::removePollTimer() { poll_timer_->stop(); }

void QtHost::setNeverWaiting(bool on) {
  if (on) loop_timer_->start();
  else loop_timer_->stop();
}

void QtHost::quit(int exit_code) {
  quit_requested_ = true;
  exit_code_ = exit_code;
  if (loop_running_) QCoreApplication::exit(exit_code);
}

int QtHost::run() {
  if (quit_requested_) return exit_code_;
  loop_running_ = true;
  const int code = QCoreApplication::exec();
  loop_running_ = false;
  return quit_requested_ ? exit_code_ : code;
}

// A dialog opened from a dialog sits on it; any other belongs to the main
// window, whichever tool window is active, so it is centred on the main
// window and never goes behind it.
QWidget* QtHost::dialogParent() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return mainWindow();
}

int QtHost::runModal(const FormTemplate& form, FormHandler& handler) {
  auto dialog_form = std::make_unique<QtForm>(form, handler);
  QtForm* f = dialog_form.get();
  auto* dialog = new ModalDialog(*f, dialogParent());
  f->attachFrame(dialog, FrameKind::Modal);
  modal_forms_.push_back(f);
  handler.onInit(*f);
  if (!f->ended()) dialog->exec();
  f->detach();
  std::erase(modal_forms_, f);
  return f->ended() ? f->result() : -1;
}

Form* QtHost::createWindow(const FormTemplate& form, FormHandler& handler, WindowKind kind) {
  QWidget* main = mainWindow();
  if (kind == WindowKind::MdiChild && main == nullptr) return nullptr;
  auto* f = new QtForm(form, handler);
  const QPoint origin = UnitsOf(form).point(form.x, form.y);
  QWidget* frame = nullptr;
  switch (kind) {
    case WindowKind::MdiChild: {
      auto* sub = new ToolSubWindow(*f, form.minimize_box);
      main_window_->mdiArea()->addSubWindow(sub);
      sub->move(origin);
      frame = sub;
      f->attachFrame(sub, FrameKind::MdiChild);
      break;
    }
    case WindowKind::OwnedPopup:
      frame = new ToolWindow(*f, main, form.minimize_box);
      frame->move(main != nullptr ? main_window_->mdiArea()->mapToGlobal(origin) : origin);
      f->attachFrame(frame, FrameKind::OwnedPopup);
      break;
    case WindowKind::TopLevel:
      frame = new ToolWindow(*f, nullptr, form.minimize_box);
      frame->move(origin);
      f->attachFrame(frame, FrameKind::TopLevel);
      break;
  }
  forms_.push_back(f);
  handler.onInit(*f);
  // The handler may have destroyed its window already.
  if (f->detached()) return nullptr;
  frame->show();
  return f;
}

QtForm* QtHost::qtForm(const Form& form) const {
  for (QtForm* f : forms_)
    if (f == &form) return f;
  for (QtForm* f : modal_forms_)
    if (f == &form) return f;
  return nullptr;
}

void QtHost::destroyWindow(Form& form) {
  auto it = std::find(forms_.begin(), forms_.end(), &form);
  if (it == forms_.end()) return;
  QtForm* f = *it;
  forms_.erase(it);
  f->detach();
  if (QWidget* frame = f->frame()) frame->hide();
  // Later, once the event that led here has been handled.
  f->deleteLater();
  retired_.emplace_back(f);
  std::erase_if(retired_, [](const QPointer<QtForm>& p) { return p.isNull(); });
}

bool QtHost::startTimer(Form& form, int timer_id, unsigned period_ms) {
  QtForm* f = qtForm(form);
  return f != nullptr && f->startFormTimer(timer_id, period_ms);
}

void QtHost::stopTimer(Form& form, int timer_id) {
  if (QtForm* f = qtForm(form)) f->stopFormTimer(timer_id);
}

void QtHost::postCloseRequest(Form& form) {
  QtForm* f = qtForm(form);
  if (f == nullptr) return;
  QPointer<QtForm> target = f;
  QMetaObject::invokeMethod(context_.get(), [target] {
    if (target && !target->detached()) target->deliverCloseRequest();
  }, Qt::QueuedConnection);
}

void QtHost::post(std::function<void()> fn) {
  if (!fn) return;
  QMetaObject::invokeMethod(context_.get(), std::move(fn), Qt::QueuedConnection);
}

}  // namespace ui
