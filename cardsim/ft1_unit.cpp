#include "cardsim/ft1_unit.h"

#include <algorithm>
#include <cstdio>

#include "driver_if/mailbox.h"

namespace cardsim {

namespace {

// Lit lights as bits of the two status bytes (the bytes carry them inverted).
constexpr uint8_t kRtRed = 0x01, kRtGreen = 0x02, kLl = 0x04, kDl = 0x08;               // byte A
constexpr uint8_t kRxd = 0x01, kTxd = 0x02, kErrGreen = 0x04, kErrRed = 0x08;           // byte B
constexpr uint8_t kInsRed = 0x10, kInsGreen = 0x20, kStGreen = 0x40, kStRed = 0x80;     // byte B

constexpr uint8_t kEsc = 27;
constexpr uint16_t kFramingOffset = 0, kEncodingOffset = 2, kLineBuildOutOffset = 4, kClockModeOffset = 10;
constexpr unsigned kChannels = 24;

const char* const kBuildOutNames[] = {
    "CSU 0 dB / DSX-1 0-133 ft", "DSX-1 133-266 ft", "DSX-1 266-399 ft", "DSX-1 399-533 ft",
    "DSX-1 533-655 ft",          "CSU -7.5 dB",      "CSU -15 dB",       "CSU -22.5 dB",
};

const char* ModeName(Ft1TestMode mode) {
  switch (mode) {
    case Ft1TestMode::kNormal: return "NONE";
    case Ft1TestMode::kSelfTest: return "SELF TEST";
    case Ft1TestMode::kDigitalLoop: return "DIGITAL LOOP";
    case Ft1TestMode::kLineLoop: return "LINE LOOP";
    case Ft1TestMode::kRemoteTest: break;
  }
  return "REMOTE TEST";
}

}  // namespace

Ft1StatusBytes Ft1Unit::modelStatus() const {
  // A flashing light is on for two reads and off for two.
  const bool flash = (reads_ / 2) % 2 == 0;
  const bool up = line_ != Ft1Line::kDown;
  uint8_t a = 0, b = 0;
  auto line_lights = [&] {
    if (up) b |= kInsGreen;
    else b |= static_cast<uint8_t>(kErrRed | (flash ? kInsRed : 0));
  };
  switch (mode_) {
    case Ft1TestMode::kNormal:
      line_lights();
      if (up) b |= static_cast<uint8_t>((flash ? kTxd : 0) | (reads_ % 3 != 0 ? kRxd : 0));
      break;
    case Ft1TestMode::kSelfTest:
      // The internal pattern generator has the unit off the line meanwhile.
      if (mode_reads_ < kSelfTestReads) b |= flash ? static_cast<uint8_t>(kStRed | kErrGreen) : 0;
      else b |= flash ? kStGreen : 0;
      break;
    case Ft1TestMode::kDigitalLoop:
      line_lights();
      if (flash) a |= kDl;
      break;
    case Ft1TestMode::kLineLoop:
      if (flash) a |= kLl;
      if (up && mode_reads_ >= kLineLoopReads) b |= kInsGreen;
      else b |= flash ? kInsGreen : kInsRed;
      break;
    case Ft1TestMode::kRemoteTest:
      line_lights();
      if (up && mode_reads_ >= kRemoteAnswerReads) a |= flash ? kRtGreen : 0;
      else a |= flash ? kRtRed : 0;
      break;
  }
  // The remote end's own Remote Test shows whatever the unit does itself.
  if (line_ == Ft1Line::kRemoteTest && mode_ != Ft1TestMode::kRemoteTest) a |= kRtGreen;
  return {static_cast<uint8_t>(~a), static_cast<uint8_t>(~b)};
}

void Ft1Unit::advance() {
  ++reads_;
  ++mode_reads_;
  if (line_sync_reads_ > 0 && --line_sync_reads_ == 0) line_ = Ft1Line::kUp;
}

Ft1StatusBytes Ft1Unit::readStatus() {
  if (!scripted_.empty()) {
    Ft1StatusBytes next = scripted_.front();
    scripted_.pop_front();
    return next;
  }
  Ft1StatusBytes now = modelStatus();
  advance();
  return now;
}

void Ft1Unit::select() {
  switch (mode_) {
    case Ft1TestMode::kNormal: mode_ = Ft1TestMode::kSelfTest; break;
    case Ft1TestMode::kSelfTest: mode_ = Ft1TestMode::kDigitalLoop; break;
    case Ft1TestMode::kDigitalLoop: mode_ = Ft1TestMode::kLineLoop; break;
    case Ft1TestMode::kLineLoop: mode_ = Ft1TestMode::kRemoteTest; break;
    case Ft1TestMode::kRemoteTest: mode_ = Ft1TestMode::kNormal; break;
  }
  mode_reads_ = 0;
}

void Ft1Unit::setLine(Ft1Line line) {
  line_ = line;
  line_sync_reads_ = -1;
}

void Ft1Unit::scriptStatus(std::span<const Ft1StatusBytes> bytes) {
  scripted_.insert(scripted_.end(), bytes.begin(), bytes.end());
}

void Ft1Unit::setMonitorFlags(uint8_t flags) {
  if ((flags & kStatisticsFlush) != 0) {
    stats_ = {};
    statistics_reads_ = 0;
  }
  flags_ = flags;
}

bool Ft1Unit::readStatistics(std::string* line) {
  if ((flags_ & kStatisticsMonitor) == 0) return false;
  line->clear();
  if (++statistics_reads_ % kStatisticsReadsPerLine == 0) *line = statisticsLine();
  return true;
}

std::string Ft1Unit::statisticsLine() {
  Ft1StatisticsCounters& s = stats_;
  ++s.seconds;
  if (line_ == Ft1Line::kDown) {
    ++s.es, ++s.ses, ++s.uas, ++s.lofs;
  } else {
    if (s.seconds % 7 == 0) ++s.es;
    if (s.seconds % 17 == 0) ++s.bes;
    if (s.seconds % 5 == 0) ++s.esf;
  }
  char text[80];
  // The unit starts each report on a fresh line; columns as its headings.
  std::snprintf(text, sizeof text, "\n%02u:%02u%4u%4u%4u%4u%4u%4u", s.seconds / 60 % 100, s.seconds % 60,
                s.es % 10000, s.bes % 10000, s.ses % 10000, s.uas % 10000, s.lofs % 10000, s.esf % 10000);
  return text;
}

uint8_t Ft1Unit::setConfiguration(const Ft1Configuration& c, uint16_t* bad_offset) {
  auto bad = [bad_offset](uint16_t offset) {
    *bad_offset = offset;
    return RC_FT1_BAD_CONFIGURATION;
  };
  if (c.framing > 1) return bad(kFramingOffset);
  if (c.encoding > 1) return bad(kEncodingOffset);
  if (c.line_build_out > 7) return bad(kLineBuildOutOffset);
  if (c.clock_mode > 1) return bad(kClockModeOffset);
  // B8ZS carries 64 kbit/s a channel, AMI 56.
  const unsigned per_channel = c.encoding == 0 ? 64 : 56;
  if (c.baud_rate == 0 || c.baud_rate % per_channel != 0 || c.baud_rate / per_channel > kChannels)
    return RC_FT1_BAD_BAUD_RATE;
  const unsigned channels = c.baud_rate / per_channel;
  if (c.channel_base < 1 || c.channel_base + channels - 1 > kChannels) return RC_FT1_BAD_CHANNEL_BASE;
  config_ = c;
  return RC_OK;
}

uint8_t Ft1Unit::receiveCharacter(uint8_t ch) {
  if (busy_sends_ > 0) {
    --busy_sends_;
    return RC_FT1_TX_BUSY;
  }
  menuChoice(ch);
  return RC_OK;
}

std::string Ft1Unit::takeOutput() {
  std::string chunk = output_.substr(0, kCharactersPerRead);
  output_.erase(0, chunk.size());
  return chunk;
}

void Ft1Unit::say(std::string_view text) {
  // A full buffer drops what does not fit, as the unit's own would.
  output_.append(text.substr(0, kMaxPendingOutput - std::min(kMaxPendingOutput, output_.size())));
}

void Ft1Unit::prompt() {
  say("Select: ");
  prompted_ = true;
}

void Ft1Unit::showMenu() {
  sayLine("TALVORA FT-1 CSU/DSU");
  sayLine("1 - Show this menu");
  sayLine("2 - Show configuration");
  sayLine("3 - Toggle framing (ESF/D4)");
  sayLine("4 - Set line build out");
  sayLine("5 - Show line status");
  sayLine("ESC - Leave");
}

void Ft1Unit::showConfiguration() {
  char rate[48];
  std::snprintf(rate, sizeof rate, "Rate:           %u kbit/s", config_.baud_rate);
  sayLine(config_.framing == 0 ? "Framing:        ESF" : "Framing:        D4");
  sayLine(config_.encoding == 0 ? "Encoding:       B8ZS" : "Encoding:       AMI");
  sayLine(std::string("Line build out: ") + std::to_string(config_.line_build_out) + " (" +
          kBuildOutNames[config_.line_build_out % 8] + ")");
  sayLine("Channel base:   " + std::to_string(config_.channel_base));
  sayLine(rate);
  sayLine(config_.clock_mode == 0 ? "Clock:          Normal" : "Clock:          Master");
}

void Ft1Unit::menuChoice(uint8_t ch) {
  const bool printable = ch >= 0x20 && ch < 0x7F;
  const std::string_view echo(reinterpret_cast<const char*>(&ch), 1);
  if (awaiting_build_out_) {
    if (ch != kEsc && (ch < '0' || ch > '7')) return;
    awaiting_build_out_ = false;
    if (ch != kEsc) say(echo);
    say("\r\n");
    if (ch != kEsc) {
      config_.line_build_out = static_cast<uint16_t>(ch - '0');
      sayLine(std::string("Line build out set to ") + kBuildOutNames[config_.line_build_out]);
    }
    prompt();
    return;
  }
  if (!printable && ch != '\r' && ch != kEsc) return;
  // The first contact, before any prompt, brings no echo.
  if (printable && prompted_) say(echo);
  if (prompted_ || ch == kEsc) say("\r\n");
  switch (ch) {
    case kEsc: sayLine("Configuration menu closed."); prompted_ = false; return;
    case '\r': break;
    case '1': showMenu(); break;
    case '2': showConfiguration(); break;
    case '3':
      config_.framing = config_.framing == 0 ? 1 : 0;
      sayLine(config_.framing == 0 ? "Framing set to ESF" : "Framing set to D4");
      break;
    case '4':
      for (int i = 0; i < 8; ++i) sayLine(std::to_string(i) + " - " + kBuildOutNames[i]);
      say("Line build out (0-7): ");
      awaiting_build_out_ = true;
      return;
    case '5':
      sayLine(line_ == Ft1Line::kDown ? "Line: DOWN" : line_ == Ft1Line::kUp ? "Line: UP"
                                                                             : "Line: UP, remote end in Remote Test");
      sayLine(std::string("Test mode: ") + ModeName(mode_));
      break;
    default: sayLine("Invalid selection"); break;
  }
  prompt();
}

}  // namespace cardsim
