#pragma once
// The main window: a menu bar over an MDI area for the tool windows.

#include <QMainWindow>

#include <functional>

class QMdiArea;

namespace ui {

class MainWindow : public QMainWindow {
 public:
  struct Events {
    std::function<void()> closing;   // the window is going away
    std::function<void()> restored;  // it took a normal size
  };
  explicit MainWindow(Events events);

  QMdiArea* mdiArea() const { return mdi_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool isNormalSize() const;

  Events events_;
  QMdiArea* mdi_;
};

}  // namespace ui
