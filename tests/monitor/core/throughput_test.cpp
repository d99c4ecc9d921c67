#include "monitor/core/throughput_history.h"

#include <gtest/gtest.h>

#include "tests/monitor/core/core_fixture.h"

namespace {

using namespace std::chrono_literals;
using Clock = ThroughputHistory::Clock;

TEST(ThroughputHistoryTest, RatesOverEachInterval) {
  ThroughputHistory h;
  Clock::time_point t0{};
  EXPECT_FALSE(h.add(t0, 1000, 0));
  EXPECT_FALSE(h.add(t0 + 500ms, 1500, 10));  // within the interval: no point yet
  EXPECT_TRUE(h.add(t0 + 2s, 5000, 400));
  EXPECT_EQ(h.tx(), (std::vector<double>{2000}));
  EXPECT_EQ(h.rx(), (std::vector<double>{200}));
  // A flush sets the counters back: the bytes since count from zero.
  EXPECT_TRUE(h.add(t0 + 3s, 300, 0));
  EXPECT_EQ(h.tx().back(), 300);
  // A clock that goes back starts over instead of dividing by a negative time.
  EXPECT_FALSE(h.add(t0, 0, 0));
}

TEST(ThroughputHistoryTest, KeepsTheLastFiveMinutes) {
  ThroughputHistory h;
  Clock::time_point t{};
  h.add(t, 0, 0);
  for (uint32_t i = 1; i <= 400; ++i) h.add(t + std::chrono::seconds(i), i * 100, 0);
  EXPECT_EQ(h.tx().size(), ThroughputHistory::kPoints);
  EXPECT_EQ(h.tx().front(), 100);
}

class ThroughputGraphTest : public CoreTest {};

TEST_F(ThroughputGraphTest, OperationalStatisticsDrawsTxAndRx) {
  writeIni("[Polling]\nuse_system_timer=0\n");
  start();
  Clock::time_point now{};
  core->windows().now = [&] { return now; };
  openDevice();
  host.command(kMenuOperationalStatistics);
  auto reply = [](uint32_t tx, uint32_t rx) {
    std::vector<uint8_t> b(56);
    le::put_u32(b, 4, tx);
    le::put_u32(b, 36, rx);
    return CardReply{0, b};
  };
  replies[READ_CHDLC_OPERATIONAL_STATS] = reply(0, 0);
  tick();
  EXPECT_TRUE(window("OPSTATS").graph(560).empty());
  now += 1s;
  replies[READ_CHDLC_OPERATIONAL_STATS] = reply(64000, 3200);
  tick();
  now += 1s;
  tick();  // unchanged counters still give a point: the line went quiet
  const auto& graph = window("OPSTATS").graph(560);
  ASSERT_EQ(graph.size(), 2u);
  EXPECT_EQ(graph[0].name, "Tx");
  EXPECT_EQ(graph[0].values, (std::vector<double>{64000, 0}));
  EXPECT_EQ(graph[1].name, "Rx");
  EXPECT_EQ(graph[1].values, (std::vector<double>{3200, 0}));
  // Failed reads add nothing.
  now += 1s;
  replies[READ_CHDLC_OPERATIONAL_STATS] = {0xAA, {}, false};
  tick();
  EXPECT_EQ(window("OPSTATS").graph(560)[0].values.size(), 2u);
}

}  // namespace
