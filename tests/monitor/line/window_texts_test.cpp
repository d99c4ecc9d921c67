// The texts every window shows, written out from the windows' descriptions
// and compared with the templates: titles, captions of labelled controls and
// the texts of buttons, check boxes and static values.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/core/comm_error_statistics_window.h"
#include "monitor/core/polling_config_dialog.h"
#include "monitor/core/polling_info_window.h"
#include "monitor/core/select_device_dialog.h"
#include "monitor/core/link_status_window.h"
#include "monitor/core/modem_status_window.h"
#include "monitor/core/operational_statistics_window.h"
#include "monitor/line/ft1_statistics_window.h"
#include "monitor/line/ft1_status_window.h"
#include "monitor/line/ft1_terminal_window.h"
#include "monitor/line/memory_dump_dialog.h"
#include "monitor/line/status_56k_window.h"
#include "monitor/line/te1_alarms_window.h"
#include "monitor/line/te1_tests_window.h"
#include "monitor/traffic/modem_status_dialog.h"
#include "monitor/traffic/read_register_dialog.h"
#include "monitor/traffic/receive_detail_window.h"
#include "monitor/traffic/send_frames_window.h"

namespace {

struct Texts {
  const char* name;
  const char* title;
  // A control's own text: button, check box, radio button, group box, value.
  std::vector<std::pair<int, std::string>> own;
  // The label that names a control.
  std::vector<std::pair<int, std::string>> captions;
  // Notes and frames without an id of their own.
  std::vector<std::string> notes = {};
};

// A mnemonic the windows add for the keyboard is not part of the text: it is
// neither shown nor spoken. Where the description gives one, it must be there.
std::string AsShown(const std::string& text, const std::string& expected) {
  if (expected.find('&') != std::string::npos) return text;
  std::string shown;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    shown += text[i];
  }
  return shown;
}

std::string CaptionOf(const ui::FormTemplate& t, int id) {
  for (const auto& c : t.controls)
    if (c.kind == ui::ControlKind::Label && c.buddy == id) return c.text;
  return "<no label>";
}

void ExpectTexts(const ui::FormTemplate& t, const Texts& expected) {
  SCOPED_TRACE(expected.name);
  EXPECT_EQ(t.name, expected.name);
  EXPECT_EQ(t.title, expected.title);
  for (const auto& [id, text] : expected.own) {
    const ui::ControlTemplate* c = t.find(id);
    ASSERT_NE(c, nullptr) << "control " << id;
    EXPECT_EQ(AsShown(c->text, text), text) << "control " << id;
  }
  for (const auto& [id, text] : expected.captions)
    EXPECT_EQ(AsShown(CaptionOf(t, id), text), text) << "label of " << id;
  for (const std::string& note : expected.notes) {
    bool shown = false;
    for (const auto& c : t.controls) shown = shown || AsShown(c.text, note) == note;
    EXPECT_TRUE(shown) << note;
  }
}

TEST(WindowTextsTest, MonitorWindows) {
  ExpectTexts(LinkStatusTemplate(),
              {"LSTAT", "Link Status", {{201, "?"}, {202, "?"}, {203, "?"}, {399, "&Close"}},
               {{201, "Channel status:"}, {202, "Frames queued for reception:"}, {203, "Receiver status:"}}});
  ExpectTexts(OperationalStatisticsTemplate(),
              {"OPSTATS",
               "Operational Statistics",
               {{399, "&Close"}, {550, "&FLUSH"}, {201, "0"}, {202, "0"}, {200, "0"}},
               {{201, "Number of frames transmitted:"},
                {202, "Number of bytes transmitted:"},
                {205, "Transmit throughput:"},
                {206, "Milliseconds used for transmit throughput:"},
                {209, "Tx frames discarded (length error):"},
                {203, "Number of frames received:"},
                {204, "Number of bytes received:"},
                {207, "Receive throughput:"},
                {208, "Milliseconds used for receive throughput:"},
                {200, "Recieved frames discarded due to excessive length:"}}});
  ExpectTexts(CommErrorStatisticsTemplate(),
              {"COMES",
               "Communications Error Statistics",
               {{399, "&Close"}, {550, "&FLUSH"}, {200, "0"}, {111, "0"}},
               {{200, "Number of receiver overrun errors:"},
                {201, "Number of receiver CRC errors:"},
                {202, "Number of abort frames received:"},
                {203, "Number of times receiver disabled (bfrs full):"},
                {204, "Missed TX underrun Interrupts"},
                {207, "Number of times DCD dropped unexpectedly:"},
                {208, "Number of times CTS dropped unexpectedly:"},
                {111, "Application IRQ timeout count:"}}});
  ExpectTexts(ModemStatusTemplate(),
              {"MODEMS", "Modem Status", {{200, "?"}, {201, "?"}, {399, "&Close"}}, {{200, "DCD:"}, {201, "CTS:"}}});
}

TEST(WindowTextsTest, PollingAndDeviceDialogs) {
  ExpectTexts(PollingInfoTemplate(),
              {"POLLS",
               "Polling and Device Info",
               {{101, "Polling Tick Indicator"}, {399, "&Close"}},
               {{901, "Device Name:"}, {902, "Status:"}, {903, "Last Active Command Result:"}},
               {"Device Information"}});
  ExpectTexts(PollingConfigTemplate(),
              {"CONFIG",
               "Quarnel Configuration",
               {{105, "Enable timer"}, {106, "Polling using system timer"}, {200, ""}, {1, "OK"}, {2, "Cancel"}},
               {{102, "Statistics polling interval in 1000's: (If timer not used - recommend 20)"},
                {104, "Polling interval (ms):"}}});
  ExpectTexts(SelectDeviceTemplate(),
              {"SELCARD",
               "New Device",
               {{102, "Set as default on startup"}, {1, "OK"}, {2, "Cancel"}},
               {{101, "New Device:"}, {103, "Current device:"}},
               {"Specify one of the device names from TALVSTRM0 to TALVSTRM15."}});
}

TEST(WindowTextsTest, TrafficWindowsAndDialogs) {
  ExpectTexts(SetModemStatusTemplate(),
              {"SETMODEM",
               "Set Modem Status",
               {{200, "DTR (checked is high)"}, {201, "RTS (checked is high)"}, {1, "OK"}, {2, "Cancel"}},
               {}});
  ExpectTexts(ReadRegisterTemplate(),
              {"READ_REGISTER", "Read Register", {{1038, "Read"}, {2, "Close"}, {1036, ""}},
               {{1037, "Register (hex):"}, {1036, "Value:"}}});
  ExpectTexts(ReceiveDetailTemplate(),
              {"RDETAIL",
               "Receive Detail",
               {{160, "Display received frames"}, {162, "Count:"}, {161, "0"}},
               {{102, "BITS  LGTH  TimeStamp  DATA..."}, {103, "Detail of last received frame..."}}});
  ExpectTexts(SendFramesTemplate(),
              {"DENTRY",
               "Send Frames",
               {{106, "Data is Text"}, {100, "SEND"}, {101, "Close"}, {150, "Stopped"}, {151, "Start"}},
               {{113, "Data:"},
                {107, "Double-click on a line below to select a previously transmitted frame."},
                {114, "Length:"}}});
}

TEST(WindowTextsTest, LineUtilityWindows) {
  ExpectTexts(Ft1StatisticsTemplate(),
              {"T1STATS", "FT1 Operational Statistics", {{1045, "FLUSH"}, {1053, "CLOSE"}}, {}});
  ExpectTexts(Te1AlarmsTemplate(),
              {"TE1ALARMS",
               "Talvora TE-1 Alarms Window",
               {{1025, "?"}, {1026, "?"}, {1027, "?"}, {1028, "?"}, {1020, "FLUSH"}},
               {{1021, "OOF"},
                {1022, "RED"},
                {1023, "AIS"},
                {1024, "YEL"},
                {1025, "Framing Bit Error Count: "},
                {1026, "OOF Error Count: "},
                {1027, "Bit Error Count: "},
                {1028, "LCV Error Count: "}}});
  ExpectTexts(Te1TestsTemplate(),
              {"TE1_TESTS",
               "T1/E1 Tests",
               {{1034, "Activate Line Loop Back Mode"},
                {1035, "Activate Payload Loop Back Mode"},
                {1031, "Activate Diagnostic Digital Loop Back Mode"},
                {1032, "Send Activate Loop Back Signal"},
                {1033, "Close"}},
               {}});
  ExpectTexts(Status56KTemplate(),
              {"IDD_56K_STATUS",
               "Talvora 56K DSU\\CSU Alarms Window",
               {{1075, "?"}, {1076, "?"}, {399, "Close"}},
               {{1045, "INS"},
                {1068, "DMI"},
                {1069, "ZSC"},
                {1070, "CMI"},
                {1071, "OOS"},
                {1021, "OOF"},
                {1072, "DLP"},
                {1073, "UMC"},
                {1074, "RLOS"},
                {1075, "Insertion Loss ( dB ): "},
                {1076, "Line Length ( km ): "}}});
  ExpectTexts(Ft1StatusTemplate(),
              {"T1STATUS",
               "Talvora VR20/VR40 FT-1 Status Window",
               {{1039, "SELECT"}, {1032, ""}, {1044, "Poll"}},
               {{1045, "INS"},
                {1046, "ERR"},
                {1047, "TXD"},
                {1048, "RXD"},
                {1049, "ST"},
                {1050, "DL"},
                {1051, "LL"},
                {1052, "RT"}}});
  ExpectTexts(Ft1TerminalTemplate(), {"ADVANCED_FT1_CONFIG", "Advanced T1 Configuration", {{399, "CLOSE"}}, {}});
  ExpectTexts(MemoryDumpTemplate(),
              {"MEMORYDUMP",
               "Adapter Memory Dump - for expert use only!",
               {{1080, "&Get Memory"}, {1081, "&Save Dump"}, {399, "&Close"}},
               {{1078, "&Address (hex):"}, {1079, "&Length (hex)"}}});
}

// The one group box of the FT1 status window and the light labels of the
// lights' windows sit where the user reads them.
TEST(WindowTextsTest, GroupsAndDefaultButtons) {
  bool test_modes = false;
  for (const auto& c : Ft1StatusTemplate().controls)
    if (c.kind == ui::ControlKind::GroupBox) test_modes = c.text == "Test Modes";
  EXPECT_TRUE(test_modes);
  auto default_of = [](const ui::FormTemplate& t) {
    for (const auto& c : t.controls)
      if (c.style & ui::kDefaultButton) return c.id;
    return ui::kNoId;
  };
  EXPECT_EQ(default_of(ReadRegisterTemplate()), 1038);
  EXPECT_EQ(default_of(Te1AlarmsTemplate()), 1020);
  EXPECT_EQ(default_of(Te1TestsTemplate()), 1034);
  EXPECT_EQ(default_of(Ft1StatusTemplate()), 399);
  EXPECT_EQ(default_of(MemoryDumpTemplate()), 1080);
}

}  // namespace
