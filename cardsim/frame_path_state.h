#pragma once
// The frame path's share of a card's state: frames received from the line
// waiting for a reader, the load generator, a fault on sends, and the
// windows throughput is measured over. Guarded by the card's mutex.

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace cardsim {

using SimClock = std::chrono::steady_clock;

struct LineFrame {
  std::vector<uint8_t> bytes;  // data and the two check bytes
  uint8_t bits = 0;
  uint16_t time_stamp = 0;
  uint64_t serial = 0;
  bool generated = false;
  SimClock::time_point arrived;  // when it came off the line
};

struct GeneratorSettings {
  uint32_t rate = 0;       // frames per second; 0: as fast as readers take them
  uint16_t size = 6;       // data bytes, before the check bytes
  uint8_t pattern = 0x55;  // fills the data after the sequence number
  uint64_t count = 0;      // frames to offer in all; 0: no end
};

struct GeneratorState {
  bool on = false;
  GeneratorSettings settings;
  uint64_t offered = 0;     // sequence numbers used since the start
  uint64_t handed_out = 0;  // taken by receive requests (less those given back)
  uint64_t overflowed = 0;  // lost because the receive queue was full
  // Paced generators: the line time their schedule counts from, and the
  // frames offered since; a line going down restarts the schedule.
  std::optional<SimClock::time_point> paced_from;
  uint64_t paced = 0;
};

struct SendFault {
  uint8_t result = 0;
  int remaining = -1;  // sends still to fail; negative: every one
};

struct ThroughputWindow {
  std::optional<SimClock::time_point> start;
  uint64_t bytes = 0;
};

// What a receive request holds: at most max_frames images, each behind a
// prefix of `prefix` bytes and cut to image_len, within reply_len bytes;
// `requests` such requests wait one behind the other.
struct ReaderRoom {
  size_t max_frames;
  size_t reply_len;
  size_t image_len;
  size_t prefix;
  size_t requests = 1;
};

struct FramePathState {
  SimClock::time_point epoch = SimClock::now();  // time stamps count from here
  std::deque<LineFrame> queue;
  // The queue ran full and the receiver stopped taking frames; it starts
  // again once a reader makes room.
  bool receiver_stopped = false;
  // Requests waiting at the card for frames. A waiting request takes frames
  // as they arrive, so those it has room for never need one of the queue's
  // buffers, however late the simulator itself gets round to queueing them.
  std::vector<const ReaderRoom*> waiting_readers;
  uint64_t next_serial = 1;
  // Frames numbered below this went with a flush and never come back.
  uint64_t flushed_below = 0;
  GeneratorState generator;
  std::optional<SendFault> send_fault;
  ThroughputWindow tx_window;
  ThroughputWindow rx_window;
};

}  // namespace cardsim
