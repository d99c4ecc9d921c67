#include "ui/qt/form_fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>

#include <cmath>

namespace ui {

QFont FormFont() {
  QFont font(QStringLiteral("Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

namespace {

// Judged by the glyphs drawn: a font may call itself fixed and not be, or
// be and not say so.
bool HasOneWidth(const QFont& font) {
  const QFontMetricsF metrics(font);
  const qreal width = metrics.horizontalAdvance(QLatin1Char('i'));
  for (QLatin1Char c : {QLatin1Char('W'), QLatin1Char('0'), QLatin1Char(' ')})
    if (metrics.horizontalAdvance(c) != width) return false;
  return width > 0;
}

QFont Sized(QFont font) {
  font.setStyleHint(QFont::Monospace);
  font.setPointSize(8);
  return font;
}

}  // namespace

QFont FixedFormFont() {
  const QFont system = Sized(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  if (HasOneWidth(system)) return system;
  for (const char* family : {"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono", "Noto Mono", "Courier New",
                             "Nimbus Mono PS", "Courier", "monospace"}) {
    const QFont font = Sized(QFont(QString::fromLatin1(family)));
    if (HasOneWidth(font)) return font;
  }
  return system;
}

DialogUnits::DialogUnits(const QFont& font) {
  QFontMetricsF metrics(font);
  static const QString kAlphabet =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  char_width_ = metrics.horizontalAdvance(kAlphabet) / kAlphabet.size();
  char_height_ = metrics.height();
}

int DialogUnits::px(int x) const { return static_cast<int>(std::lround(x * char_width_ / 4)); }
int DialogUnits::py(int y) const { return static_cast<int>(std::lround(y * char_height_ / 8)); }

// Edges are converted, not sizes, so controls that touch in the template
// touch on screen.
QRect DialogUnits::rect(int x, int y, int w, int h) const {
  return QRect(QPoint(px(x), py(y)), QPoint(px(x + w) - 1, py(y + h) - 1));
}

QSize DialogUnits::size(int w, int h) const { return QSize(px(w), py(h)); }
QPoint DialogUnits::point(int x, int y) const { return QPoint(px(x), py(y)); }

}  // namespace ui
