#include "ui/qt/form_frames.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "ui/qt/qt_form.h"

namespace ui {

namespace {

constexpr int kCancelCommand = 2;

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

}  // namespace

ModalDialog::ModalDialog(QtForm& form, QWidget* parent) : QDialog(parent), form_(form) {
  setWindowFlags(Qt::Dialog | TitleFlags(false));
  setModal(true);
  Hold(this, form.surface());
}

void ModalDialog::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
    switch (event->key()) {
      case Qt::Key_Escape: form_.deliverCommand(kCancelCommand, Notify::Clicked); return;
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

void ToolSubWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  form_.deliverCloseRequest();
}

ToolWindow::ToolWindow(QtForm& form, QWidget* owner, bool minimize_box)
    : QWidget(owner, Qt::Window | TitleFlags(minimize_box)), form_(form) {
  Hold(this, form.surface());
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  form_.deliverCloseRequest();
}

}  // namespace ui
