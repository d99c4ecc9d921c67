#include "ui/qt/form_frames.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "ui/qt/qt_form.h"

namespace ui {

namespace {

void Hold(QWidget* frame, QWidget* surface) {
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addWidget(surface);
}

Qt::WindowFlags TitleFlags(bool minimize_box) {
  Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint;
  if (minimize_box) flags |= Qt::WindowMinimizeButtonHint;
  return flags;
}

bool IsEnter(const QKeyEvent& key) {
  const bool plain = key.modifiers() == Qt::NoModifier || key.modifiers() == Qt::KeypadModifier;
  return plain && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter);
}

// A plain widget is a "filler" to a screen reader, however it is shown.
QAccessibleInterface* FrameAccessible(const QString&, QObject* object) {
  auto* window = dynamic_cast<ToolWindow*>(object);
  return window != nullptr ? new QAccessibleWidget(window, QAccessible::Window) : nullptr;
}

}  // namespace

void ExposeFramesAsWindows() {
  static const bool installed = [] {
    QAccessible::installFactory(FrameAccessible);
    return true;
  }();
  (void)installed;
}

ModalDialog::ModalDialog(QtForm& form, QWidget* parent) : QDialog(parent), form_(form) {
  setWindowFlags(Qt::Dialog | TitleFlags(false));
  setModal(true);
  Hold(this, form.surface());
}

void ModalDialog::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    switch (event->key()) {
      case Qt::Key_Escape: form_.pressCancel(); return;
      case Qt::Key_Return:
      case Qt::Key_Enter: form_.pressDefaultButton(); return;
      default: break;
    }
  }
  QDialog::keyPressEvent(event);
}

void ModalDialog::closeEvent(QCloseEvent* event) {
  event->ignore();
  form_.deliverCloseRequest();
}

ToolSubWindow::ToolSubWindow(QtForm& form, bool minimize_box) : form_(form) {
  // The form has a fixed size; the hint keeps the frame from being dragged larger.
  setWindowFlags(Qt::SubWindow | Qt::MSWindowsFixedSizeDialogHint | TitleFlags(minimize_box));
  setWidget(form.surface());
}

// Enter that reaches the frame itself, with no control focused.
void ToolSubWindow::keyPressEvent(QKeyEvent* event) {
  if (IsEnter(*event)) form_.pressDefaultButton();
  else QMdiSubWindow::keyPressEvent(event);
}

void ToolSubWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  form_.deliverCloseRequest();
}

ToolWindow::ToolWindow(QtForm& form, QWidget* owner, bool minimize_box)
    : QWidget(owner, Qt::Window | TitleFlags(minimize_box)), form_(form) {
  Hold(this, form.surface());
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
  if (IsEnter(*event)) form_.pressDefaultButton();
  else QWidget::keyPressEvent(event);
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  form_.deliverCloseRequest();
}

}  // namespace ui
