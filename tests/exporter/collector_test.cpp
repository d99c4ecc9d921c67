// The collector against the in-process simulator's demo cards: TALVSTRM0
// ISA with an FT1 unit, 1 T1, 2 E1, 3 56K.

#include "exporter/collector.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <set>
#include <thread>

#include "cardsim/sim_driver.h"
#include "cardsim/simulator.h"
#include "driver_if/command_block.h"
#include "driver_if/ioctl_codes.h"
#include "driver_if/mailbox.h"

namespace exporter {
namespace {

using namespace std::chrono_literals;

// Passes everything on, records each request's control code and mailbox
// command, and can make devices vanish as if their driver had stopped.
class WatchingDriver : public CardDriver {
 public:
  explicit WatchingDriver(CardDriver& inner) : inner_(inner) {}

  std::unique_ptr<DeviceHandle> open(std::string_view name, uint32_t* error) override {
    {
      std::lock_guard lock(mutex_);
      if (gone_.count(std::string(name))) {
        *error = kErrorDeviceNotFound;
        return nullptr;
      }
    }
    auto handle = inner_.open(name, error);
    return handle ? std::make_unique<Handle>(*this, std::move(handle)) : nullptr;
  }

  void remove(const std::string& name) {
    std::lock_guard lock(mutex_);
    gone_.insert(name);
  }
  void restore(const std::string& name) {
    std::lock_guard lock(mutex_);
    gone_.erase(name);
  }
  std::set<uint32_t> controlCodes() {
    std::lock_guard lock(mutex_);
    return codes_;
  }
  std::set<uint8_t> commands() {
    std::lock_guard lock(mutex_);
    return commands_;
  }

 private:
  class Handle : public DeviceHandle {
   public:
    Handle(WatchingDriver& owner, std::unique_ptr<DeviceHandle> inner) : owner_(owner), inner_(std::move(inner)) {}
    bool control(uint32_t code, const void* in, size_t in_len, void* out, size_t out_len,
                 uint32_t* returned) override {
      {
        std::lock_guard lock(owner_.mutex_);
        owner_.codes_.insert(code);
        if ((code == IOCTL_EXEC_CMD || code == IOCTL_EXEC_CMD_2K) && in_len > 1)
          owner_.commands_.insert(static_cast<const uint8_t*>(in)[1]);
      }
      return inner_->control(code, in, in_len, out, out_len, returned);
    }
    void cancel() override { inner_->cancel(); }

   private:
    WatchingDriver& owner_;
    std::unique_ptr<DeviceHandle> inner_;
  };

  CardDriver& inner_;
  std::mutex mutex_;
  std::set<std::string> gone_;
  std::set<uint32_t> codes_;
  std::set<uint8_t> commands_;
};

// Opening one device never returns until the driver goes away, as a connect
// to a daemon that stopped accepting would.
class StuckOpenDriver : public CardDriver {
 public:
  StuckOpenDriver(CardDriver& inner, std::string stuck) : inner_(inner), stuck_(std::move(stuck)) {}
  ~StuckOpenDriver() override {
    std::unique_lock lock(mutex_);
    released_ = true;
    changed_.notify_all();
    changed_.wait(lock, [&] { return inside_ == 0; });
  }

  std::unique_ptr<DeviceHandle> open(std::string_view name, uint32_t* error) override {
    if (name != stuck_) return inner_.open(name, error);
    std::unique_lock lock(mutex_);
    ++inside_;
    ++stuck_opens_;
    changed_.wait(lock, [&] { return released_; });
    --inside_;
    changed_.notify_all();
    *error = kErrorDeviceNotFound;
    return nullptr;
  }

  int stuckOpens() {
    std::lock_guard lock(mutex_);
    return stuck_opens_;
  }

 private:
  CardDriver& inner_;
  const std::string stuck_;
  int stuck_opens_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool released_ = false;
  int inside_ = 0;
};

class CollectorTest : public ::testing::Test {
 protected:
  CollectorTest() : simulator(cardsim::DemoCards()), sim_driver(simulator), driver(sim_driver) {}

  std::string scrape(Collector& collector, std::chrono::milliseconds deadline = 5s) {
    return Render(collector.collect(deadline), ExpositionFormat::kText);
  }
  static bool Has(const std::string& text, const std::string& line) {
    return text.find("\n" + line + "\n") != std::string::npos;
  }
  static int SeriesOf(const std::string& text, const std::string& device) {
    int n = 0;
    const std::string label = "device=\"" + device + "\"";
    for (size_t at = 0; (at = text.find(label, at)) != std::string::npos; at += label.size()) ++n;
    return n;
  }
  cardsim::Card& card(int index) { return *simulator.card(index); }

  cardsim::Simulator simulator;
  cardsim::SimDriver sim_driver;
  WatchingDriver driver;
};

TEST_F(CollectorTest, EveryDemoCardIsUpWithItsCardAndServiceUnit) {
  Collector collector(driver, std::nullopt);
  const std::string text = scrape(collector);
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(Has(text, "talvlink_up{device=\"TALVSTRM" + std::to_string(i) + "\"} 1")) << text;
  EXPECT_EQ(text.find("TALVSTRM4"), std::string::npos);
  EXPECT_NE(text.find("talvlink_info{device=\"TALVSTRM0\",card=\"ISA\",code_version=\""), std::string::npos);
  EXPECT_NE(text.find("\",service_unit=\"FT1\"} 1\n"), std::string::npos);
  EXPECT_NE(text.find("talvlink_info{device=\"TALVSTRM3\",card=\"PCI\""), std::string::npos);
  for (const char* unit : {"T1", "E1", "56K"})
    EXPECT_NE(text.find(std::string("service_unit=\"") + unit + "\"} 1"), std::string::npos) << unit;
  EXPECT_TRUE(Has(text, "talvlink_link_up{device=\"TALVSTRM1\"} 0"));
  EXPECT_TRUE(Has(text, "talvlink_56k_insertion_loss_db{device=\"TALVSTRM3\"} 19.7"));
  EXPECT_TRUE(Has(text, "talvlink_56k_line_length_km{device=\"TALVSTRM3\"} 3.2"));
}

TEST_F(CollectorTest, ScrapesOnlyReadAndLeaveTheCardAsItWas) {
  card(0).withState([](cardsim::CardState& st) {
    st.comms_enabled = true;
    st.frames_queued = 3;
    st.op_stats.rx_frames = 42;
    st.comms_errors.rx_crc = 7;
    st.ft1.setMonitorFlags(0x01);
  });
  card(1).withState([](cardsim::CardState& st) {
    st.front_end.counters = {1, 2, 3, 4};
    st.front_end.payload_loopback = true;
  });
  Collector collector(driver, std::nullopt);
  for (int i = 0; i < 3; ++i) scrape(collector);

  EXPECT_EQ(driver.controlCodes(), (std::set<uint32_t>{IOCTL_EXEC_CMD, IOCTL_EXEC_CMD_2K, IOCTL_READ_HARDWARE_INFO}));
  const std::set<uint8_t> reads = {READ_CHDLC_LINK_STATUS, READ_CODE_VERSION,    READ_FRONT_END_TYPE,
                                   READ_FT1_STATUS,        READ_FT1_OPERATIONAL_STATS,
                                   READ_CHDLC_OPERATIONAL_STATS, READ_COMMS_ERROR_STATS,
                                   READ_GLOBAL_STATISTICS, READ_MODEM_STATUS,    READ_FRONT_END_ALARMS,
                                   READ_FRONT_END_REGISTER};
  for (uint8_t command : driver.commands()) EXPECT_TRUE(reads.count(command)) << "command " << int(command);

  card(0).withState([](cardsim::CardState& st) {
    EXPECT_TRUE(st.comms_enabled);
    EXPECT_EQ(st.frames_queued, 3);
    EXPECT_EQ(st.op_stats.rx_frames, 42u);
    EXPECT_EQ(st.comms_errors.rx_crc, 7);
    EXPECT_EQ(st.ft1.monitorFlags(), 0x01);
  });
  card(1).withState([](cardsim::CardState& st) {
    EXPECT_EQ(st.front_end.counters, (std::array<uint32_t, 4>{1, 2, 3, 4}));
    EXPECT_TRUE(st.front_end.payload_loopback);
  });
}

TEST_F(CollectorTest, CountersRiseAcrossAWrapAndAClearOfTheCard) {
  Collector collector(driver, std::vector<std::string>{"TALVSTRM1"});
  auto set_rx = [&](uint32_t frames, uint16_t crc) {
    card(1).withState([&](cardsim::CardState& st) {
      st.op_stats.rx_frames = frames;
      st.comms_errors.rx_crc = crc;
    });
    return scrape(collector);
  };
  EXPECT_TRUE(Has(set_rx(0xFFFFFFF0u, 65535), "talvlink_frames_received_total{device=\"TALVSTRM1\"} 4294967280"));
  std::string text = set_rx(5, 3);
  EXPECT_TRUE(Has(text, "talvlink_frames_received_total{device=\"TALVSTRM1\"} 4294967301")) << text;
  EXPECT_TRUE(Has(text, "talvlink_receive_errors_total{device=\"TALVSTRM1\",kind=\"crc\"} 65539")) << text;
  // Flushed on the card in the middle of the range: counting goes on from there.
  set_rx(2000000000u, 3);
  text = set_rx(10, 3);
  EXPECT_TRUE(Has(text, "talvlink_frames_received_total{device=\"TALVSTRM1\"} 6294967306")) << text;
}

TEST_F(CollectorTest, LineAlarmsLoopbacksAndErrorKindsFollowTheFrontEnd) {
  card(1).withState([](cardsim::CardState& st) {
    st.front_end.alarms = 0x0410;  // RED and YEL
    st.front_end.line_loopback = true;
    st.front_end.counters[1] = 0xFFFFFFFFu;  // unsigned: never a negative count
  });
  card(2).withState([](cardsim::CardState& st) { st.front_end.alarms = 0x0400; });
  Collector collector(driver, std::nullopt);
  const std::string text = scrape(collector);
  EXPECT_TRUE(Has(text, "talvlink_te1_alarm{device=\"TALVSTRM1\",alarm=\"red\"} 1"));
  EXPECT_TRUE(Has(text, "talvlink_te1_alarm{device=\"TALVSTRM1\",alarm=\"oof\"} 0"));
  EXPECT_TRUE(Has(text, "talvlink_te1_alarm{device=\"TALVSTRM1\",alarm=\"yel\"} 1"));
  EXPECT_TRUE(Has(text, "talvlink_te1_loopback{device=\"TALVSTRM1\",mode=\"line\"} 1"));
  EXPECT_TRUE(Has(text, "talvlink_te1_loopback{device=\"TALVSTRM1\",mode=\"payload\"} 0"));
  EXPECT_TRUE(Has(text, "talvlink_te1_errors_total{device=\"TALVSTRM1\",kind=\"oof\"} 4294967295"));
  // E1 has no yellow alarm, and its middle counters count other things.
  EXPECT_EQ(text.find("talvlink_te1_alarm{device=\"TALVSTRM2\",alarm=\"yel\""), std::string::npos);
  EXPECT_TRUE(Has(text, "talvlink_te1_errors_total{device=\"TALVSTRM2\",kind=\"crc\"} 0"));
}

TEST_F(CollectorTest, FT1StatisticsOnlyWhileAnotherProgramHasThemOn) {
  Collector collector(driver, std::vector<std::string>{"TALVSTRM0"});
  std::string text = scrape(collector);
  EXPECT_TRUE(Has(text, "talvlink_ft1_statistics_reporting{device=\"TALVSTRM0\"} 0"));
  EXPECT_EQ(text.find("talvlink_ft1_statistic{"), std::string::npos);
  EXPECT_TRUE(Has(text, "talvlink_ft1_light{device=\"TALVSTRM0\",light=\"txd\",colour=\"off\"} 1") ||
              Has(text, "talvlink_ft1_light{device=\"TALVSTRM0\",light=\"txd\",colour=\"green\"} 1"));

  card(0).withState([](cardsim::CardState& st) { st.ft1.setMonitorFlags(0x02); });
  // The unit reports a line every few reads; the last one stays shown between them.
  bool seen = false;
  for (int i = 0; i < 12 && !seen; ++i) seen = scrape(collector).find("talvlink_ft1_statistic{") != std::string::npos;
  EXPECT_TRUE(seen);
  text = scrape(collector);
  EXPECT_NE(text.find("talvlink_ft1_statistic{device=\"TALVSTRM0\",column=\"esf\"}"), std::string::npos) << text;

  card(0).withState([](cardsim::CardState& st) { st.ft1.setMonitorFlags(0); });
  EXPECT_EQ(scrape(collector).find("talvlink_ft1_statistic{"), std::string::npos);
}

TEST_F(CollectorTest, ADeviceThatDoesNotAnswerInTimeIsDownAndTheRestAreUp) {
  Collector collector(driver, std::nullopt);
  // Seen once, then too slow.
  scrape(collector);
  // Longer than the test's time-out: only cancelling the late read ends it.
  card(2).faults().delayReply(READ_CHDLC_LINK_STATUS, 600s);
  const std::string text = scrape(collector, 200ms);
  EXPECT_TRUE(Has(text, "talvlink_up{device=\"TALVSTRM2\"} 0")) << text;
  EXPECT_EQ(SeriesOf(text, "TALVSTRM2"), 1) << "a device that is down has no series but talvlink_up";
  EXPECT_TRUE(Has(text, "talvlink_up{device=\"TALVSTRM1\"} 1"));
  card(2).faults().clear();
  EXPECT_TRUE(Has(scrape(collector), "talvlink_up{device=\"TALVSTRM2\"} 1"));
}

TEST_F(CollectorTest, AnOpenThatNeverReturnsHoldsUpNoScrape) {
  StuckOpenDriver stuck(driver, "TALVSTRM2");
  Collector collector(stuck, std::vector<std::string>{"TALVSTRM1", "TALVSTRM2"});
  for (int i = 0; i < 2; ++i) {
    const std::string text = scrape(collector, 200ms);
    EXPECT_TRUE(Has(text, "talvlink_up{device=\"TALVSTRM1\"} 1")) << text;
    EXPECT_TRUE(Has(text, "talvlink_up{device=\"TALVSTRM2\"} 0")) << text;
  }
  EXPECT_EQ(stuck.stuckOpens(), 1) << "a device stuck once is not tried again while it stays stuck";
}

TEST_F(CollectorTest, ADeviceThatGoesAwayStaysListedDownUntilItComesBack) {
  Collector collector(driver, std::nullopt);
  scrape(collector);
  driver.remove("TALVSTRM3");
  std::string text = scrape(collector);
  EXPECT_TRUE(Has(text, "talvlink_up{device=\"TALVSTRM3\"} 0"));
  EXPECT_EQ(SeriesOf(text, "TALVSTRM3"), 1);
  driver.restore("TALVSTRM3");
  EXPECT_TRUE(Has(scrape(collector), "talvlink_up{device=\"TALVSTRM3\"} 1"));

  // A device asked for by name is listed even before it first answers.
  Collector named(driver, std::vector<std::string>{"TALVSTRM9"});
  EXPECT_TRUE(Has(scrape(named), "talvlink_up{device=\"TALVSTRM9\"} 0"));
}

TEST_F(CollectorTest, ConcurrentScrapesAllSeeEveryCardAndCountersNeverGoBack) {
  Collector collector(driver, std::nullopt);
  std::vector<std::thread> scrapers;
  std::vector<std::string> texts(6);
  for (size_t i = 0; i < texts.size(); ++i)
    scrapers.emplace_back([&, i] {
      card(1).withState([&](cardsim::CardState& st) { st.op_stats.rx_frames += 1000; });
      texts[i] = scrape(collector);
    });
  for (auto& t : scrapers) t.join();
  for (const std::string& text : texts) {
    for (int d = 0; d < 4; ++d)
      EXPECT_TRUE(Has(text, "talvlink_up{device=\"TALVSTRM" + std::to_string(d) + "\"} 1")) << text;
  }
  // Every increment was a rise; no read taken out of order looked like a clear.
  card(1).withState([](cardsim::CardState& st) { st.op_stats.rx_frames += 1; });
  EXPECT_TRUE(Has(scrape(collector), "talvlink_frames_received_total{device=\"TALVSTRM1\"} 6001"));
}

}  // namespace
}  // namespace exporter
