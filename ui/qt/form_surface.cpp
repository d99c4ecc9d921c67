#include "ui/qt/form_surface.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>

#include "ui/qt/qt_form.h"
#include "ui/qt/text_conversion.h"

namespace ui {

namespace {

// The character a key stands for; keys with Alt belong to the menus.
std::optional<uint8_t> CharOf(const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers();
  if (mods & Qt::AltModifier) return std::nullopt;
  if (mods & Qt::ControlModifier) {
    // Control letters are the control characters 1 to 26; other control keys are shortcuts.
    if (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) return static_cast<uint8_t>(key.key() - Qt::Key_A + 1);
    return std::nullopt;
  }
  switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return '\t';
    case Qt::Key_Return:
    case Qt::Key_Enter: return '\r';
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Backspace: return 0x08;
    default: break;
  }
  const QString text = key.text();
  if (text.size() != 1 || text[0].unicode() >= 0x80) return std::nullopt;
  return static_cast<uint8_t>(text[0].unicode());
}

}  // namespace

FormSurface::FormSurface(QtForm& form, bool raw_keys, std::vector<MenuItem> context_menu, bool copies)
    : form_(form), raw_keys_(raw_keys), context_menu_(std::move(context_menu)), copies_(copies) {
  setAutoFillBackground(true);
  if (raw_keys_) setFocusPolicy(Qt::StrongFocus);
  if (copies_) {
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    copy->setContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QShortcut::activated, this, [this] { form_.copyToClipboard(); });
  }
}

void FormSurface::watchMousePresses() {
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) {
    child->installEventFilter(this);
    // In a raw-key form the surface keeps the focus, so that every key reaches it.
    if (raw_keys_) child->setFocusPolicy(Qt::NoFocus);
  }
}

bool FormSurface::event(QEvent* event) {
  if (raw_keys_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (std::optional<uint8_t> ch = CharOf(*key)) {
      event->accept();
      if (event->type() == QEvent::KeyPress) form_.deliverChar(*ch);
      return true;
    }
  }
  return QWidget::event(event);
}

bool FormSurface::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    auto* press = static_cast<QMouseEvent*>(event);
    // A press a child leaves alone travels on to its parents: report it once.
    if (press->button() == Qt::LeftButton && press->timestamp() != last_press_) {
      last_press_ = press->timestamp();
      form_.deliverMouseDown();
    }
  }
  return QWidget::eventFilter(watched, event);
}

// Enter that no control took presses the default button, in tool windows as
// in dialogs.
void FormSurface::keyPressEvent(QKeyEvent* event) {
  const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    form_.pressDefaultButton();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FormSurface::contextMenuEvent(QContextMenuEvent* event) {
  if (context_menu_.empty() && !copies_) {
    QWidget::contextMenuEvent(event);
    return;
  }
  QMenu menu(this);
  if (copies_) {
    QAction* copy = menu.addAction(QStringLiteral("Copy"));
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, this, [this] { form_.copyToClipboard(); });
    if (!context_menu_.empty()) menu.addSeparator();
  }
  for (const MenuItem& item : context_menu_) {
    if (item.separator()) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(ToQString(item.text));
    action->setData(item.id);
    action->setEnabled(!item.greyed);
  }
  QAction* chosen = menu.exec(event->globalPos());
  if (chosen != nullptr && chosen->data().isValid()) form_.deliverCommand(chosen->data().toInt(), Notify::Clicked);
}

}  // namespace ui
