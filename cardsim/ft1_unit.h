#pragma once
// The FT1 service unit of a plain serial card: its lights, the test mode
// SELECT steps through, its statistics report, its stored line
// configuration and its character interface with a small menu. The unit
// moves on as it is watched: every status read is one tick of its clock,
// so a test drives it exactly and the demo moves at the window's pace.

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <utility>

#include "driver_if/records.h"

namespace cardsim {

enum class Ft1TestMode { kNormal, kSelfTest, kDigitalLoop, kLineLoop, kRemoteTest };

enum class Ft1Line {
  kDown,        // no remote end: the unit waits in its power-up condition
  kUp,          // the line is operative
  kRemoteTest,  // up, and the remote end runs its Remote Test towards us
};

// READ_FT1_STATUS: byte A, byte B; lights are active low.
using Ft1StatusBytes = std::pair<uint8_t, uint8_t>;

struct Ft1StatisticsCounters {
  uint32_t seconds = 0;
  uint32_t es = 0, bes = 0, ses = 0, uas = 0, lofs = 0, esf = 0;
};

class Ft1Unit {
 public:
  // Status reads of each stage, at the window's 100 ms a read.
  static constexpr unsigned kLineSyncReads = 40;
  static constexpr unsigned kSelfTestReads = 50;
  static constexpr unsigned kLineLoopReads = 30;
  static constexpr unsigned kRemoteAnswerReads = 30;
  static constexpr unsigned kStatisticsReadsPerLine = 10;
  static constexpr size_t kCharactersPerRead = 48;
  static constexpr size_t kMaxPendingOutput = 4096;

  // Monitor flags as SET_FT1_MONITOR_FLAGS sent them.
  static constexpr uint8_t kStatusMonitor = 0x01;
  static constexpr uint8_t kStatisticsMonitor = 0x02;
  static constexpr uint8_t kStatisticsFlush = 0x04;

  // The status bytes of this moment; the unit's clock moves one tick.
  Ft1StatusBytes readStatus();
  // FT1_SELECT: the next test mode, from the start.
  void select();

  // SET_FT1_MONITOR_FLAGS. A flush bit empties the statistics.
  void setMonitorFlags(uint8_t flags);
  uint8_t monitorFlags() const { return flags_; }
  // READ_FT1_OPERATIONAL_STATS: false while reporting is off; otherwise a
  // line, or nothing when none is due yet.
  bool readStatistics(std::string* line);

  // SET_FT1_CONFIGURATION's verdict: a return code, with the offset of a
  // bad field for RC_FT1_BAD_CONFIGURATION.
  uint8_t setConfiguration(const Ft1Configuration& c, uint16_t* bad_offset);
  const Ft1Configuration& configuration() const { return config_; }

  // SEND_FT1_CHARACTER: RC_FT1_TX_BUSY while made busy, else 0.
  uint8_t receiveCharacter(uint8_t ch);
  // READ_FT1_CHARACTERS: what the unit has to say, a few characters at a time.
  std::string takeOutput();

  // Test knobs.
  void setLine(Ft1Line line);  // also stops the line coming up by itself
  Ft1Line line() const { return line_; }
  Ft1TestMode mode() const { return mode_; }
  // The next status reads answer these, in order, before the unit's own.
  void scriptStatus(std::span<const Ft1StatusBytes> bytes);
  // The next `sends` characters find the transmit buffer occupied.
  void makeBusy(unsigned sends) { busy_sends_ = sends; }
  // Reporting off behind the monitor's back, as a unit reset would.
  void switchStatisticsOff() { flags_ &= static_cast<uint8_t>(~kStatisticsMonitor); }
  const Ft1StatisticsCounters& statistics() const { return stats_; }

 private:
  Ft1StatusBytes modelStatus() const;
  void advance();
  std::string statisticsLine();
  void say(std::string_view text);
  void sayLine(std::string_view text) { say(text), say("\r\n"); }
  void prompt();
  void showMenu();
  void showConfiguration();
  void menuChoice(uint8_t ch);

  Ft1Configuration config_{.framing = 0, .encoding = 0, .line_build_out = 0, .channel_base = 1,
                           .baud_rate = 1536, .clock_mode = 0};
  uint8_t flags_ = 0;
  Ft1TestMode mode_ = Ft1TestMode::kNormal;
  unsigned mode_reads_ = 0;
  Ft1Line line_ = Ft1Line::kDown;
  int line_sync_reads_ = kLineSyncReads;  // negative: the line stays as set
  unsigned reads_ = 0;
  std::deque<Ft1StatusBytes> scripted_;
  unsigned statistics_reads_ = 0;
  Ft1StatisticsCounters stats_;
  std::string output_;
  unsigned busy_sends_ = 0;
  bool awaiting_build_out_ = false;
  bool prompted_ = false;
};

}  // namespace cardsim
