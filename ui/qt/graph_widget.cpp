#include "ui/qt/graph_widget.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>

namespace ui {

namespace {

const std::array<QColor, 3> kColours = {QColor(0x1f, 0x5f, 0xbf), QColor(0x2e, 0x8b, 0x3e),
                                        QColor(0xb0, 0x40, 0x20)};

QString Scaled(double v) {
  if (v >= 1e6) return QString::number(v / 1e6, 'g', 3) + QLatin1String(" M");
  if (v >= 1e3) return QString::number(v / 1e3, 'g', 3) + QLatin1String(" k");
  return QString::number(v, 'g', 3) + QLatin1Char(' ');
}

}  // namespace

double NiceCeiling(double value) {
  if (!(value > 0)) return 1;
  double power = std::pow(10.0, std::floor(std::log10(value)));
  for (double step : {1.0, 2.0, 5.0, 10.0})
    if (step * power >= value) return step * power;
  return 10 * power;
}

GraphWidget::GraphWidget(QString unit, QWidget* parent) : QWidget(parent), unit_(std::move(unit)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphWidget::setSeries(const std::vector<GraphSeries>& series) {
  series_ = series;
  QStringList parts;
  for (const auto& s : series_)
    if (!s.values.empty()) parts << QString::fromStdString(s.name) + QLatin1String(": ") + Scaled(s.values.back()) + unit_;
  setAccessibleDescription(parts.join(QLatin1String(", ")));
  update();
}

void GraphWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().base());
  const QFontMetrics fm = fontMetrics();
  const QRectF plot(2, fm.height() + 2, width() - 4, height() - fm.height() - 4);
  p.setPen(QPen(palette().mid().color(), 1));
  p.drawRect(plot);
  for (int i = 1; i < 4; ++i) {
    double y = plot.top() + plot.height() * i / 4;
    p.setPen(QPen(palette().midlight().color(), 1, Qt::DotLine));
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
  }

  double top = 0;
  size_t points = 0;
  for (const auto& s : series_) {
    for (double v : s.values) top = std::max(top, v);
    points = std::max(points, s.values.size());
  }
  top = NiceCeiling(top);
  p.setPen(palette().text().color());
  p.drawText(QRectF(0, 0, width() - 2, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
             Scaled(top) + unit_);

  p.setRenderHint(QPainter::Antialiasing);
  double legend_x = 4;
  for (size_t i = 0; i < series_.size(); ++i) {
    const auto& s = series_[i];
    const QColor colour = kColours[i % kColours.size()];
    p.setPen(QPen(colour, 1.5));
    p.drawLine(QPointF(legend_x, fm.height() / 2.0 + 1), QPointF(legend_x + 12, fm.height() / 2.0 + 1));
    const QString name = QString::fromStdString(s.name);
    p.setPen(palette().text().color());
    p.drawText(QPointF(legend_x + 15, fm.ascent() + 1), name);
    legend_x += 24 + fm.horizontalAdvance(name);
    if (s.values.size() < 2) continue;
    QPainterPath path;
    // Series of different lengths end together at the right edge.
    const double step = plot.width() / static_cast<double>(std::max<size_t>(points - 1, 1));
    const double start = plot.right() - step * static_cast<double>(s.values.size() - 1);
    for (size_t k = 0; k < s.values.size(); ++k) {
      QPointF point(start + step * static_cast<double>(k), plot.bottom() - plot.height() * s.values[k] / top);
      if (k == 0) path.moveTo(point);
      else path.lineTo(point);
    }
    p.setPen(QPen(colour, 1.5));
    p.drawPath(path);
  }
}

}  // namespace ui
