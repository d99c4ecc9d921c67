// list, info, status, stats, alarms, register, dump, watch against talvcard.

#include <signal.h>

#include <fstream>

#include "tests/tools/talvctl/talvctl_fixture.h"

namespace {

using nlohmann::json;

TEST_F(TalvctlTest, ListNamesEveryDemoCardWithItsUnit) {
  const ctltest::CtlRun text = ctl({"list"});
  EXPECT_EQ(text.exit_code, 0);
  EXPECT_EQ(text.out, "TALVSTRM0\tISA\tFT1\nTALVSTRM1\tPCI\tT1\nTALVSTRM2\tPCI\tE1\nTALVSTRM3\tPCI\t56K\n");

  const json list = read({"list"});
  ASSERT_EQ(list["devices"].size(), 4u);
  const json& t1 = list["devices"][1];
  EXPECT_EQ(t1["device"], "TALVSTRM1");
  EXPECT_EQ(t1["index"], 1);
  EXPECT_EQ(t1["hardware"]["card_type"], 40);
  EXPECT_EQ(t1["hardware"]["card_type_name"], "PCI");
  EXPECT_EQ(t1["hardware"]["slot_number"], 9);
  EXPECT_EQ(t1["service_unit"]["front_end"], "T1");
  EXPECT_EQ(list["devices"][0]["hardware"]["io_port"], 0x360);
  EXPECT_EQ(list["devices"][0]["service_unit"]["ft1_present"], true);
}

TEST_F(TalvctlTest, InfoReportsHardwareAndCodeVersion) {
  const json info = read({"info", "TALVSTRM0"});
  EXPECT_EQ(info["device"], "TALVSTRM0");
  EXPECT_EQ(info["hardware"]["irq"], 10);
  EXPECT_EQ(info["hardware"]["memory_base"], 0xD0000);
  EXPECT_TRUE(info["code_version"].is_string());
  EXPECT_NE(info["code_version"], "?.??");

  const ctltest::CtlRun text = ctl({"info", "TALVSTRM1"});
  EXPECT_NE(text.out.find("BusNumber: 0   SlotNumber: 9   CPU: A   CommPort: PRIMARY"), std::string::npos) << text.out;
}

TEST_F(TalvctlTest, StatusFollowsCommunicationsAndModemSignalsOfTheCard) {
  json status = read({"status", "TALVSTRM0"});
  EXPECT_EQ(status["communications"], state("TALVSTRM0")["comms"] == "1");
  EXPECT_EQ(status["communications"], false);

  ASSERT_EQ(ctl({"configure", "TALVSTRM0", "baud=64000"}).exit_code, 0);
  ASSERT_EQ(ctl({"comms", "TALVSTRM0", "on"}).exit_code, 0);
  ASSERT_EQ(ctl({"modem", "TALVSTRM0", "dtr=on", "rts=off"}).exit_code, 0);
  std::map<std::string, std::string> card = state("TALVSTRM0");
  status = read({"status", "TALVSTRM0"});
  EXPECT_EQ(card["comms"], "1");
  EXPECT_EQ(status["communications"], true);
  EXPECT_EQ(status["link"]["active"], true);
  // DTR loops back to DCD and RTS to CTS.
  EXPECT_EQ(card["dtr"], "1");
  EXPECT_EQ(card["rts"], "0");
  EXPECT_EQ(status["modem"]["dcd"], true);
  EXPECT_EQ(status["modem"]["cts"], false);

  ASSERT_EQ(ctl({"modem", "TALVSTRM0", "rts=on"}).exit_code, 0);
  card = state("TALVSTRM0");
  EXPECT_EQ(card["dtr"], "0");
  EXPECT_EQ(card["rts"], "1");
}

TEST_F(TalvctlTest, Te1AlarmsAndCountersAreShownInFullAndCleared) {
  sim("alarm TALVSTRM1 red on");
  sim("counter TALVSTRM1 2 4294967295");
  json status = read({"status", "TALVSTRM1"});
  const json& te1 = status["service_unit"]["te1"];
  EXPECT_EQ(te1["alarms"]["red"], true);
  EXPECT_EQ(te1["alarms"]["ais"], false);
  EXPECT_EQ(te1["counters"]["bipolar_violations"].get<uint64_t>(), 4294967295u);

  const json cleared = read({"alarms", "TALVSTRM1", "--clear"});
  EXPECT_EQ(cleared["cleared"], true);
  EXPECT_EQ(cleared["service_unit"]["te1"]["counters"]["bipolar_violations"].get<uint64_t>(), 4294967295u);
  EXPECT_EQ(read({"alarms", "TALVSTRM1"})["service_unit"]["te1"]["counters"]["bipolar_violations"], 0);

  // E1 has no yellow alarm and names its counters for E1.
  const json e1 = read({"alarms", "TALVSTRM2"})["service_unit"]["te1"];
  EXPECT_FALSE(e1["alarms"].contains("yellow"));
  EXPECT_TRUE(e1["counters"].contains("crc_errors"));
}

TEST_F(TalvctlTest, FiftySixKStatusCarriesInsertionLossAndLineLength) {
  sim("status56k TALVSTRM3 0x8C00");
  const json unit = read({"alarms", "TALVSTRM3"})["service_unit"];
  EXPECT_EQ(unit["front_end"], "56K");
  EXPECT_EQ(unit["status_56k"]["alarms"]["rlos"], true);
  EXPECT_EQ(unit["status_56k"]["receive_level"], 12);
  EXPECT_EQ(unit["status_56k"]["signal_good"], true);
  EXPECT_DOUBLE_EQ(unit["status_56k"]["insertion_loss_db"].get<double>(), 19.7);
  EXPECT_DOUBLE_EQ(unit["status_56k"]["line_length_km"].get<double>(), 3.2);

  sim("status56k TALVSTRM3 0x0100");
  EXPECT_TRUE(read({"alarms", "TALVSTRM3"})["service_unit"]["status_56k"]["insertion_loss_db"].is_null());
}

TEST_F(TalvctlTest, RegisterAndLoopbackNeedAFrontEnd) {
  const json reg = read({"register", "TALVSTRM1", "1f"});
  EXPECT_EQ(reg["register"], 0x1F);
  EXPECT_TRUE(reg["value"].is_number());

  EXPECT_EQ(ctl({"loopback", "TALVSTRM1", "payload", "on"}).exit_code, 0);
  EXPECT_EQ(ctl({"loopback", "TALVSTRM1", "payload", "off"}).exit_code, 0);
  const ctltest::CtlRun serial = ctl({"loopback", "TALVSTRM0", "line", "on"});
  EXPECT_EQ(serial.exit_code, 1);
  EXPECT_NE(serial.err.find("no T1 or E1 front end"), std::string::npos);
}

TEST_F(TalvctlTest, DumpListsMemoryAcrossSeveralReadsInTheWindowsFormat) {
  // 0x600 bytes take two reads of at most 1350.
  const ctltest::CtlRun run = ctl({"dump", "TALVSTRM0", "8", "600"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  std::vector<std::string> lines;
  std::istringstream in(run.out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 97u);
  EXPECT_EQ(lines[0].substr(0, 7), "00000:\t");
  EXPECT_EQ(lines[0].size(), 7u + 16 * 3);
  EXPECT_EQ(lines[0].substr(7, 24), "00 00 00 00 00 00 00 00 ");  // before the offset
  EXPECT_EQ(lines[96].substr(0, 7), "00600:\t");
  EXPECT_EQ(lines[96].size(), 7u + 8 * 3);

  const json data = read({"dump", "TALVSTRM0", "8", "600"});
  EXPECT_EQ(data["offset"], 8);
  EXPECT_EQ(data["length"], 0x600);
  EXPECT_EQ(data["data"].get<std::string>().size(), 0x600u * 3 - 1);

  const std::string file = directory() + "/dump.txt";
  ASSERT_EQ(ctl({"dump", "TALVSTRM0", "8", "600", "-o", file}).exit_code, 0);
  std::ifstream saved(file);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), run.out);
}

TEST_F(TalvctlTest, WatchWithoutATerminalAppendsPlainBlocks) {
  const ctltest::CtlRun run = ctl({"watch", "TALVSTRM1", "--interval", "10", "--count", "3"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  size_t blocks = 0;
  for (size_t at = run.out.find("Device:"); at != std::string::npos; at = run.out.find("Device:", at + 1)) ++blocks;
  EXPECT_EQ(blocks, 3u);
  EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
}

TEST_F(TalvctlTest, WatchEndsOnSigintLeavingNothingChanged) {
  ctltest::TalvctlProcess watch(directory(), {"watch", "TALVSTRM1", "--interval", "20"});
  ASSERT_TRUE(watch.awaitOutput("Device:"));
  watch.signal(SIGINT);
  EXPECT_EQ(watch.finish().exit_code, 0);
  EXPECT_EQ(state("TALVSTRM1")["comms"], "0");
}

}  // namespace
