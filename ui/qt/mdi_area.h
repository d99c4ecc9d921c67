#pragma once
// The main window's MDI area. Minimised windows' icons stay where they are
// when the area is resized: only Arrange Icons, or the program when Auto
// Arrange is on, moves them.

#include <QMdiArea>

namespace ui {

class MdiArea : public QMdiArea {
 public:
  using QMdiArea::QMdiArea;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  template <class Handle>
  auto keepingIcons(Handle handle);
};

}  // namespace ui
