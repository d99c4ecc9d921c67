// The card layer against simulated cards, in-process and over the sockets:
// every operation reaches the card and every record reads back what the
// card holds.

#include <gtest/gtest.h>

#include "card/chdlc.h"
#include "card/device.h"
#include "card/device_list.h"
#include "card/front_end.h"
#include "card/ft1.h"
#include "card/line_configuration.h"
#include "card/service_unit.h"
#include "driver_if/requests.h"
#include "tests/card/card_backends.h"

namespace {

template <class Backend>
class CardLayerTest : public ::testing::Test {
 protected:
  std::unique_ptr<card::Device> open(const char* name) {
    uint32_t error = 0;
    auto device = card::Device::Open(cards.driver(), name, &error);
    EXPECT_TRUE(device) << name << " error " << error;
    return device;
  }
  std::string state(const char* card) { return cards.ctl(std::string("state ") + card).text; }

  Backend cards;
};

using Backends = ::testing::Types<cardtest::InProcessCards, cardtest::SocketCards>;
TYPED_TEST_SUITE(CardLayerTest, Backends);

TYPED_TEST(CardLayerTest, NamesOutsideTheDeviceSpaceAndMissingCardsAreNotFound) {
  for (const char* name : {"TALVSTRM9", "TALVSTRM16", "TALVSTRM01", "../TALVSTRM0", ""}) {
    uint32_t error = 0;
    EXPECT_EQ(card::Device::Open(this->cards.driver(), name, &error), nullptr) << name;
    EXPECT_EQ(error, kErrorDeviceNotFound) << name;
  }
}

TYPED_TEST(CardLayerTest, CommunicationsLinkAndStatisticsFollowTheCard) {
  auto device = this->open("TALVSTRM0");
  CommandExecutor& exec = device->exec();
  ASSERT_TRUE(card::SetChdlcConfiguration(exec, StreamingConfig{}) == RC_OK);
  card::Reply<card::LinkStatus> link = card::ReadLinkStatus(exec);
  ASSERT_TRUE(link.ok());
  EXPECT_FALSE(link.value.active());
  EXPECT_FALSE(link.value.receiverEnabled());

  ASSERT_EQ(card::EnableCommunications(exec), RC_OK);
  EXPECT_NE(this->state("TALVSTRM0").find("comms=1"), std::string::npos);
  link = card::ReadLinkStatus(exec);
  EXPECT_TRUE(link.value.active());
  EXPECT_TRUE(link.value.receiverEnabled());

  SendFrameBuffer frame;
  frame.setLength(6);
  ASSERT_EQ(SendFrame(device->handle(), frame), 0);
  const card::OperationalStatistics stats = card::ReadOperationalStatistics(exec).value;
  EXPECT_EQ(stats.frames_transmitted, 1u);
  EXPECT_EQ(stats.bytes_transmitted, 6u);
  ASSERT_EQ(card::FlushOperationalStatistics(exec), RC_OK);
  EXPECT_EQ(card::ReadOperationalStatistics(exec).value, card::OperationalStatistics{});

  ASSERT_EQ(card::DisableCommunications(exec), RC_OK);
  EXPECT_NE(this->state("TALVSTRM0").find("comms=0"), std::string::npos);
}

TYPED_TEST(CardLayerTest, ModemSignalsLoopBackThroughTheFarEnd) {
  auto device = this->open("TALVSTRM0");
  ASSERT_EQ(card::SetModemStatus(device->exec(), true, false), RC_OK);
  card::ModemStatus modem = card::ReadModemStatus(device->exec()).value;
  EXPECT_TRUE(modem.dcd());
  EXPECT_FALSE(modem.cts());
  ASSERT_EQ(card::SetModemStatus(device->exec(), false, true), RC_OK);
  modem = card::ReadModemStatus(device->exec()).value;
  EXPECT_FALSE(modem.dcd());
  EXPECT_TRUE(modem.cts());
  EXPECT_NE(this->state("TALVSTRM0").find("dtr=0 rts=1"), std::string::npos);
}

TYPED_TEST(CardLayerTest, ConfigurationReadsBackWhatWasSetAndTheLineVerdictsMeanWhatTheySay) {
  auto t1 = this->open("TALVSTRM1");
  TECardConfig te{.media_type = kMediaT1, .line_decoding = 2, .framing = 2, .line_build_out = 3,
                  .clocking = 2, .active_channels = 0x00FFFFFF};
  EXPECT_EQ(card::ConfigureLine(t1->handle(), te), card::kTeConfigAccepted);
  StreamingConfig config;
  config.max_frame_size = 1500;
  ASSERT_EQ(card::SetChdlcConfiguration(t1->exec(), config), RC_OK);
  const card::Reply<StreamingConfig> read = card::ReadStreamingConfig(t1->exec());
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.value.max_frame_size, 1500);
  EXPECT_EQ(card::ReadStreamingConfigWithRetry(t1->exec())->max_frame_size, 1500);
  EXPECT_NE(this->state("TALVSTRM1").find("media=1 line_decoding=2 framing=2 line_build_out=3 clocking=2 "
                                          "channels=0x00FFFFFF"),
            std::string::npos);

  ASSERT_EQ(card::EnableCommunications(t1->exec()), RC_OK);
  EXPECT_EQ(card::ConfigureLine(t1->handle(), te), card::kTeConfigCommunicationsEnabled);
  auto serial = this->open("TALVSTRM0");
  EXPECT_EQ(card::ConfigureLine(serial->handle(), te), card::kTeConfigWrongMedia);
  // A request that never reached a driver gives no verdict, never "accepted".
  EXPECT_EQ(card::ConfigureLine(nullptr, te), card::kTeConfigNoVerdict);
}

TYPED_TEST(CardLayerTest, CodeVersionOrItsStandIn) {
  auto device = this->open("TALVSTRM0");
  const card::Reply<std::string> version = card::ReadCodeVersion(device->exec());
  ASSERT_TRUE(version.ok());
  EXPECT_FALSE(version.value.empty());
  EXPECT_LE(version.value.size(), card::kMaxCodeVersion);
  ASSERT_TRUE(this->cards.ctl("rc TALVSTRM0 0x20 0x05 1").ok);
  EXPECT_EQ(card::ReadCodeVersion(device->exec()).value, card::kUnknownCodeVersion);
}

TYPED_TEST(CardLayerTest, Te1AlarmsCountersFlushAndLoopbacks) {
  auto device = this->open("TALVSTRM1");
  ASSERT_TRUE(this->cards.ctl("alarm TALVSTRM1 red on").ok);
  ASSERT_TRUE(this->cards.ctl("counter TALVSTRM1 2 4294967295").ok);
  card::Reply<card::Te1Alarms> alarms = card::ReadTe1Alarms(device->exec());
  ASSERT_TRUE(alarms.ok());
  EXPECT_TRUE(alarms.value.raised(card::Te1Alarms::kRed));
  EXPECT_FALSE(alarms.value.raised(card::Te1Alarms::kAis));
  EXPECT_EQ(alarms.value.counters[2], 4294967295u);
  ASSERT_EQ(card::FlushFrontEndCounters(device->exec()), RC_OK);
  EXPECT_EQ(card::ReadTe1Alarms(device->exec()).value.counters, (std::array<uint32_t, 4>{}));

  for (card::Loopback mode : card::kLoopbacks) ASSERT_EQ(card::SetLoopback(device->exec(), mode, true), RC_OK);
  std::string fe = this->cards.ctl("frontend TALVSTRM1").text;
  EXPECT_NE(fe.find("linelb=1 paylb=1 ddlb=1 lbsignal=1"), std::string::npos) << fe;
  ASSERT_EQ(card::SetLoopback(device->exec(), card::Loopback::kPayload, false), RC_OK);
  fe = this->cards.ctl("frontend TALVSTRM1").text;
  EXPECT_NE(fe.find("linelb=1 paylb=0 ddlb=1 lbsignal=1"), std::string::npos) << fe;

  const card::Reply<uint8_t> reg = card::ReadFrontEndRegister(device->exec(), 0x00);
  ASSERT_TRUE(reg.ok());
  EXPECT_EQ(reg.value, kFrontEndT1);
}

TYPED_TEST(CardLayerTest, A56KUnitsReceiveLevelAndAlarms) {
  auto device = this->open("TALVSTRM3");
  card::Reply<card::Status56K> status = card::Read56KStatus(device->exec());
  ASSERT_TRUE(status.ok());
  EXPECT_STREQ(status.value.receiveLevel().insertion_loss_db, "19.7");
  EXPECT_STREQ(status.value.receiveLevel().line_length_km, "3.2");
  EXPECT_TRUE(status.value.signalGood());
  ASSERT_TRUE(this->cards.ctl("status56k TALVSTRM3 0x8308").ok);
  status = card::Read56KStatus(device->exec());
  EXPECT_TRUE(status.value.raised(card::Status56K::kRlos));
  EXPECT_TRUE(status.value.raised(card::Status56K::kOof));
  EXPECT_FALSE(status.value.raised(card::Status56K::kDmi));
  EXPECT_STREQ(status.value.receiveLevel().insertion_loss_db, "?");
  EXPECT_FALSE(status.value.signalGood());
}

TYPED_TEST(CardLayerTest, Ft1ConfigurationRoundTripAndTheUnitsVerdicts) {
  auto device = this->open("TALVSTRM0");
  card::Reply<Ft1Configuration> read = card::ReadFt1Configuration(device->exec());
  ASSERT_TRUE(read.ok());
  Ft1Configuration refused = read.value;
  refused.channel_base = 24;
  EXPECT_EQ(card::SetFt1Configuration(device->exec(), refused).rc, RC_FT1_BAD_CHANNEL_BASE);
  EXPECT_EQ(card::ReadFt1Configuration(device->exec()).value, read.value);
  Ft1Configuration changed = read.value;
  changed.clock_mode = changed.clock_mode == 0 ? 1 : 0;
  ASSERT_EQ(card::SetFt1Configuration(device->exec(), changed).rc, RC_OK);
  EXPECT_EQ(card::ReadFt1Configuration(device->exec()).value, changed);
  EXPECT_NE(card::ReadFt1Status(device->exec()).rc, RC_NO_FT1_ADAPTER);

  auto t1 = this->open("TALVSTRM1");
  EXPECT_EQ(card::ReadFt1Configuration(t1->exec()).rc, RC_NO_FT1_ADAPTER);
  EXPECT_EQ(card::ReadFt1Status(t1->exec()).rc, RC_NO_FT1_ADAPTER);
}

TYPED_TEST(CardLayerTest, ListingFindsEveryDemoCardAndChangesNothing) {
  const std::vector<card::PresentDevice> devices = card::ListDevices(this->cards.driver());
  ASSERT_EQ(devices.size(), 4u);
  EXPECT_EQ(devices[0].name, "TALVSTRM0");
  EXPECT_EQ(card::CardTypeName(devices[0].hardware.card_type), "ISA");
  EXPECT_TRUE(devices[0].unit.ft1_present);
  EXPECT_EQ(devices[0].unit.front_end_type, kFrontEndNone);
  EXPECT_EQ(card::CardTypeName(devices[1].hardware.card_type), "PCI");
  EXPECT_EQ(devices[1].unit.front_end_type, kFrontEndT1);
  EXPECT_EQ(devices[2].unit.front_end_type, kFrontEndE1);
  EXPECT_EQ(devices[3].unit.front_end_type, kFrontEnd56K);
  EXPECT_FALSE(devices[3].unit.ft1_present);
  // Watching never touches the FT1 unit's monitor flags.
  EXPECT_NE(this->cards.ctl("ft1 TALVSTRM0 show").text.find("flags=0x00"), std::string::npos);
}

TYPED_TEST(CardLayerTest, DetectionFindsTheSameUnitsAndKeepsAKnownTypeWhenTheReadFails) {
  for (const char* name : {"TALVSTRM0", "TALVSTRM1", "TALVSTRM3"}) {
    auto device = this->open(name);
    card::ServiceUnit detected;
    detected.Detect(device->exec());
    const card::ServiceUnit probed = card::ProbeServiceUnit(device->exec());
    EXPECT_EQ(detected.front_end_type, probed.front_end_type) << name;
    EXPECT_EQ(detected.ft1_present, probed.ft1_present) << name;
  }
  auto t1 = this->open("TALVSTRM1");
  card::ServiceUnit unit;
  unit.Detect(t1->exec());
  ASSERT_TRUE(this->cards.ctl("rc TALVSTRM1 0x63 0x05 1").ok);
  unit.Detect(t1->exec());
  EXPECT_EQ(unit.front_end_type, kFrontEndT1);
  EXPECT_TRUE(unit.te1());
}

}  // namespace
