#pragma once
// The fonts forms are drawn in, and the dialog units they define.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace ui {

QFont FormFont();       // sans serif, 8 pt
QFont FixedFormFont();  // fixed pitch, 8 pt: for hex and aligned columns

// Template coordinates to pixels: a horizontal unit is a quarter of the
// font's average character width, a vertical unit an eighth of its height.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  QRect rect(int x, int y, int w, int h) const;
  QSize size(int w, int h) const;
  QPoint point(int x, int y) const;
  int px(int x) const;
  int py(int y) const;

 private:
  double char_width_;
  double char_height_;
};

}  // namespace ui
