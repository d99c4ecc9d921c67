#pragma once
// A light line chart: a few series over time, newest at the right, scaled
// to the largest value shown, with a legend and the scale in the unit given.

#include <QString>
#include <QWidget>

#include <vector>

#include "ui/form.h"

namespace ui {

class GraphWidget : public QWidget {
 public:
  GraphWidget(QString unit, QWidget* parent);
  void setSeries(const std::vector<GraphSeries>& series);
  const std::vector<GraphSeries>& series() const { return series_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString unit_;
  std::vector<GraphSeries> series_;
};

// The scale's top: the smallest of 1, 2 or 5 times a power of ten that is
// not below the largest value.
double NiceCeiling(double value);

}  // namespace ui
