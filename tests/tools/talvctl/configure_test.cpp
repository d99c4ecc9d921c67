// configure against talvcard: what the card stores must be what was asked,
// and the card's refusals must come back with the dialog's meaning.

#include "tests/tools/talvctl/talvctl_fixture.h"

namespace {

using nlohmann::json;

TEST_F(TalvctlTest, SerialConfigurationIsReadBackByConfig) {
  const json set = read({"configure", "TALVSTRM0", "baud=64000", "max-frame=1500", "tx-buffers=40",
                         "interface=rs-232", "manual-dtr-rts=on", "ignore-modem-changes=off", "rx-throughput=on"});
  EXPECT_EQ(set["line"]["media"], "Serial/FT1");
  EXPECT_EQ(set["service_unit"]["ft1_present"], true);

  EXPECT_EQ(state("TALVSTRM0")["configured"], "1");
  EXPECT_EQ(state("TALVSTRM0")["max_frame_size"], "1500");
  const json chdlc = read({"config", "TALVSTRM0"})["chdlc"];
  EXPECT_EQ(chdlc["max_frame_size"], 1500);
  EXPECT_EQ(chdlc["percent_tx_buffers"], 40);
  EXPECT_EQ(chdlc["interface_name"], "RS-232");
  EXPECT_EQ(chdlc["modem_options"], 1);
  EXPECT_EQ(chdlc["modem"]["manual_dtr_rts"], true);
  EXPECT_EQ(chdlc["statistics_options"], 0x0B);
  EXPECT_EQ(chdlc["statistics"]["rx_throughput"], true);
  EXPECT_TRUE(chdlc["baud_rate"].is_number());

  // A later configure changes only what it names.
  ASSERT_EQ(ctl({"configure", "TALVSTRM0", "max-frame=900"}).exit_code, 0);
  const json again = read({"config", "TALVSTRM0"})["chdlc"];
  EXPECT_EQ(again["max_frame_size"], 900);
  EXPECT_EQ(again["percent_tx_buffers"], 40);
}

TEST_F(TalvctlTest, T1LineParametersReachTheCard) {
  const json set = read({"configure", "TALVSTRM1", "framing=D4", "coding=AMI", "lbo=7.5dB", "clocking=master",
                         "channels=1,3,5-7"});
  EXPECT_EQ(set["line"]["active_channels"], 0x75);
  std::map<std::string, std::string> card = state("TALVSTRM1");
  EXPECT_EQ(card["configured"], "1");
  EXPECT_EQ(card["media"], "1");
  EXPECT_EQ(card["framing"], "2");
  EXPECT_EQ(card["line_decoding"], "1");
  EXPECT_EQ(card["line_build_out"], "2");
  EXPECT_EQ(card["clocking"], "2");
  EXPECT_EQ(card["channels"], "0x00000075");
  EXPECT_EQ(set["line"]["framing"], std::stoi(card["framing"]));
  EXPECT_EQ(set["line"]["line_build_out"], std::stoi(card["line_build_out"]));
}

TEST_F(TalvctlTest, E1DefaultsAndChannelZero) {
  // Named before or after the medium, the keys apply to E1.
  const json set = read({"configure", "TALVSTRM2", "channels=0", "coding=HDB3", "media=E1"});
  std::map<std::string, std::string> card = state("TALVSTRM2");
  EXPECT_EQ(card["media"], "2");
  EXPECT_EQ(card["framing"], "4");  // CRC4 unless told otherwise
  EXPECT_EQ(card["line_decoding"], "2");
  EXPECT_EQ(card["channels"], "0x80000000");
  EXPECT_EQ(set["line"]["framing_name"], "CRC4");

  ASSERT_EQ(ctl({"configure", "TALVSTRM2", "framing=non-CRC4", "channels=ALL"}).exit_code, 0);
  card = state("TALVSTRM2");
  EXPECT_EQ(card["framing"], "5");
  EXPECT_EQ(card["channels"], "0xFFFFFFFF");
}

TEST_F(TalvctlTest, CardVerdictsOnTheLineAreReportedWithTheDialogsMeaning) {
  ASSERT_EQ(ctl({"configure", "TALVSTRM1"}).exit_code, 0);
  ASSERT_EQ(ctl({"comms", "TALVSTRM1", "on"}).exit_code, 0);
  const ctltest::CtlRun busy = ctl({"configure", "TALVSTRM1", "framing=D4"});
  EXPECT_EQ(busy.exit_code, 1);
  EXPECT_EQ(busy.out, "");
  EXPECT_NE(busy.err.find("talvctl configure: Do DISABLE_CHDLC_COMMUNICATIONS command before configuring"),
            std::string::npos)
      << busy.err;
  EXPECT_EQ(state("TALVSTRM1")["framing"], "1");

  const ctltest::CtlRun wrong = ctl({"configure", "TALVSTRM3", "media=T1"});
  EXPECT_EQ(wrong.exit_code, 1);
  EXPECT_NE(wrong.err.find("invalid media type for the underlying hardware"), std::string::npos) << wrong.err;
  EXPECT_EQ(state("TALVSTRM3")["configured"], "0");
}

TEST_F(TalvctlTest, RefusedChdlcConfigurationNamesCommandAndCode) {
  sim("rc TALVSTRM0 0x22 0x0A 1");
  const ctltest::CtlRun run = ctl({"configure", "TALVSTRM0", "baud=9600"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "talvctl configure: Error code 0x0A returned on SET_CHDLC_CONFIGURATION\n");
  EXPECT_EQ(state("TALVSTRM0")["configured"], "0");
}

TEST_F(TalvctlTest, BadSettingsAreRefusedBeforeAnythingIsSent) {
  const std::vector<std::vector<std::string>> bad = {
      {"configure", "TALVSTRM1", "speed=9"},            // unknown key
      {"configure", "TALVSTRM1", "framing"},            // not key=value
      {"configure", "TALVSTRM1", "channels=25"},        // T1 ends at 24
      {"configure", "TALVSTRM1", "channels=5-3"},       // reversed range
      {"configure", "TALVSTRM1", "channels=all"},       // case matters
      {"configure", "TALVSTRM1", "framing=CRC4"},       // an E1 framing
      {"configure", "TALVSTRM1", "baud=9600"},          // serial only
      {"configure", "TALVSTRM2", "lbo=0dB"},            // T1 only
      {"configure", "TALVSTRM0", "channels=1"},         // T1 and E1 only
      {"configure", "TALVSTRM0", "max-frame=65536"},    // wider than its field
      {"configure", "TALVSTRM0", "tx-buffers=101"},     // a percentage
      {"configure", "TALVSTRM0", "baud=-1"},            // negative
      {"configure", "TALVSTRM0", "count-tx=yes"},       // on or off
      {"configure", "TALVSTRM0", "media=V.35"},         // not a medium
  };
  for (const auto& args : bad) {
    const ctltest::CtlRun run = ctl(args);
    EXPECT_EQ(run.exit_code, 2) << args.back();
    EXPECT_NE(run.err.find("talvctl configure: "), std::string::npos) << args.back();
    EXPECT_EQ(run.out, "") << args.back();
  }
  EXPECT_EQ(state("TALVSTRM0")["configured"], "0");
  EXPECT_EQ(state("TALVSTRM1")["configured"], "0");
  EXPECT_EQ(state("TALVSTRM2")["configured"], "0");
  EXPECT_NE(ctl({"configure", "TALVSTRM1", "channels=25"}).err.find("\"Active Channels\""), std::string::npos);
}

TEST_F(TalvctlTest, Ft1ConfigurationRoundTripAndTheUnitsVerdicts) {
  const json before = read({"ft1", "TALVSTRM0", "config"})["configuration"];
  const json after = read({"ft1", "TALVSTRM0", "config", "framing=D4", "clock=master", "lbo=CSU_NEG_7dB"});
  EXPECT_EQ(after["configuration"]["framing"], 1);
  EXPECT_EQ(after["configuration"]["line_build_out"], 5);
  EXPECT_EQ(read({"ft1", "TALVSTRM0", "config"})["configuration"], after["configuration"]);
  EXPECT_EQ(after["configuration"]["channel_base"], before["channel_base"]);

  sim("rc TALVSTRM0 0x18 0x0A 1");
  const ctltest::CtlRun refused = ctl({"ft1", "TALVSTRM0", "config", "channel-base=30"});
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_EQ(refused.err, "talvctl ft1: The defined channnel base is invalid\n");
  // Any code the dialog leaves unreported is still a failure here.
  sim("rc TALVSTRM0 0x18 0x06 1");
  EXPECT_EQ(ctl({"ft1", "TALVSTRM0", "config", "channel-base=1"}).exit_code, 1);
}

}  // namespace
