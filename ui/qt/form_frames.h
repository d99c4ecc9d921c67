#pragma once
// The windows a form's surface is shown in. None of them closes by itself:
// the title bar's close box becomes the form's close request, and only the
// logic destroys a window or ends a dialog.

#include <QDialog>
#include <QMdiSubWindow>
#include <QWidget>

namespace ui {

class QtForm;

class ModalDialog : public QDialog {
 public:
  ModalDialog(QtForm& form, QWidget* parent);
  // Esc arrives as the cancel command instead.
  void reject() override {}

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QtForm& form_;
};

class ToolSubWindow : public QMdiSubWindow {
 public:
  ToolSubWindow(QtForm& form, bool minimize_box);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QtForm& form_;
};

// Makes assistive technology see every frame as a window (a frame), named
// by its title. Call once the application exists; later calls do nothing.
void ExposeFramesAsWindows();

// A separate window, owned by owner when one is given.
class ToolWindow : public QWidget {
 public:
  ToolWindow(QtForm& form, QWidget* owner, bool minimize_box);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QtForm& form_;
};

}  // namespace ui
