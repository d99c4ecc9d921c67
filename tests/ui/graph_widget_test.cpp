#include "ui/qt/graph_widget.h"

#include <gtest/gtest.h>

#include "tests/ui/qt_test_app.h"
#include "ui/qt/screenshot.h"

namespace {

TEST(GraphWidgetTest, ScaleTopsAreRoundNumbers) {
  const std::pair<double, double> cases[] = {{0, 1}, {-5, 1}, {0.3, 0.5}, {1, 1}, {1.01, 2},
                                             {3, 5}, {7, 10}, {64000, 100000}, {150000, 200000}};
  for (const auto& [value, top] : cases) EXPECT_DOUBLE_EQ(ui::NiceCeiling(value), top) << value;
}

TEST(GraphWidgetTest, PaintsSeriesOfAnyLengthAndNamesTheLatestValues) {
  ui::GraphWidget graph(QStringLiteral("bytes/s"), nullptr);
  graph.resize(400, 120);
  for (const auto& series : std::vector<std::vector<ui::GraphSeries>>{
           {}, {{"Tx", {}}}, {{"Tx", {5}}}, {{"Tx", {0, 0, 0}}, {"Rx", {1e9, 2}}}}) {
    graph.setSeries(series);
    EXPECT_FALSE(ui::GrabWindow(&graph).isNull());
  }
  graph.setSeries({{"Tx", {1000, 64000}}, {"Rx", {10, 3200}}});
  EXPECT_EQ(graph.accessibleDescription().toStdString(), "Tx: 64 kbytes/s, Rx: 3.2 kbytes/s");
  uitest::RunEventsFor(1);
}

}  // namespace
