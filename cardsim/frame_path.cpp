// IOCTL_SEND_FRAME and IOCTL_RECEIVE_FRAME on a simulated card, the far
// end's loop-back, the load generator and the statistics they move.

#include "cardsim/frame_path.h"

#include <algorithm>
#include <optional>

#include "cardsim/fcs.h"
#include "cardsim/firmware.h"
#include "driver_if/le.h"
#include "driver_if/wire.h"

namespace cardsim {

namespace {

using namespace std::chrono_literals;
using std::chrono::duration;
using std::chrono::duration_cast;
using std::chrono::milliseconds;

constexpr size_t kHeader = ReceivedFrame::kDataOffset;
constexpr size_t kSequenceBytes = 4;
// A wait with nothing scheduled still looks again now and then.
constexpr auto kLongestWait = 1h;

uint16_t TimeStamp(const FramePathState& fp, SimClock::time_point at) {
  return static_cast<uint16_t>(duration_cast<milliseconds>(at - fp.epoch).count());
}

// Bits per second over windows of at least a second, and the window's length.
void Measure(ThroughputWindow& w, size_t bytes, SimClock::time_point now, uint32_t& throughput,
             uint32_t& ms) {
  if (!w.start) w.start = now;
  w.bytes += bytes;
  const auto elapsed = duration_cast<milliseconds>(now - *w.start).count();
  if (elapsed < 1000) return;
  throughput = static_cast<uint32_t>(w.bytes * 8 * 1000 / static_cast<uint64_t>(elapsed));
  ms = static_cast<uint32_t>(elapsed);
  w.start = now;
  w.bytes = 0;
}

void CountReceived(CardState& st, size_t data_bytes, SimClock::time_point now) {
  ++st.op_stats.rx_frames;
  st.op_stats.rx_bytes += static_cast<uint32_t>(data_bytes);
  Measure(st.frame_path.rx_window, data_bytes, now, st.op_stats.rx_throughput,
          st.op_stats.rx_throughput_ms);
}

// Frames that found every receive buffer taken. Each spell of a full
// queue stops the receiver once, as the card reports it.
void CountQueueFull(CardState& st, uint64_t frames) {
  if (frames == 0) return;
  st.op_stats.rx_discarded_no_buffer += static_cast<uint32_t>(frames);
  if (st.frame_path.receiver_stopped) return;
  st.frame_path.receiver_stopped = true;
  ++st.comms_errors.rx_disabled_buffers_full;
}

// Frames beyond the queue's depth are already a waiting reader's.
void UpdateQueued(CardState& st) {
  st.frames_queued = static_cast<uint8_t>(std::min(st.frame_path.queue.size(), kReceiveQueueFrames));
}

// How many frames of `frame_bytes` (check bytes included) a request holds.
size_t Holds(const ReaderRoom& r, size_t frame_bytes) {
  return std::min(r.max_frames, r.reply_len / (r.prefix + std::min(kHeader + frame_bytes, r.image_len)));
}

// Room for such frames: the queue's free buffers and what the waiting
// readers will take.
uint64_t QueueRoom(const FramePathState& fp, size_t frame_bytes) {
  size_t capacity = kReceiveQueueFrames;
  for (const ReaderRoom* r : fp.waiting_readers) capacity += Holds(*r, frame_bytes) * r->requests;
  return capacity - std::min(fp.queue.size(), capacity);
}

// A request waiting at the card for frames, for as long as it lives.
class WaitingReader {
 public:
  WaitingReader(FramePathState& fp, ReaderRoom room) : fp_(fp), room_(room) {
    fp_.waiting_readers.push_back(&room_);
  }
  ~WaitingReader() { std::erase(fp_.waiting_readers, &room_); }
  WaitingReader(const WaitingReader&) = delete;
  WaitingReader& operator=(const WaitingReader&) = delete;

 private:
  FramePathState& fp_;
  const ReaderRoom room_;
};

bool Exhausted(const GeneratorState& g) {
  return g.settings.count != 0 && g.offered >= g.settings.count;
}

// Sequence number first (low byte first, as much of it as fits), then the pattern.
void FillGenerated(const GeneratorSettings& s, uint64_t sequence, std::span<uint8_t> frame) {
  for (size_t i = 0; i < s.size; ++i)
    frame[i] = i < kSequenceBytes ? static_cast<uint8_t>(sequence >> (8 * i)) : s.pattern;
  AppendFcs16(frame);
}

void WriteHeader(std::span<uint8_t> out, size_t length, uint8_t bits, uint16_t time_stamp,
                 uint64_t serial, bool generated) {
  std::fill_n(out.begin(), kHeader, 0);
  out[0] = 1;
  le::put_u16(out, 1, static_cast<uint16_t>(length));
  out[3] = bits;
  le::put_u16(out, 4, time_stamp);
  out[kGeneratedOffset] = generated ? 1 : 0;
  le::put_u32(out, kSerialOffset, static_cast<uint32_t>(serial));
  le::put_u32(out, kSerialOffset + 4, static_cast<uint32_t>(serial >> 32));
}

// The frame's bytes as far as the caller's buffer holds them; the bytes written.
size_t WriteFrame(std::span<uint8_t> out, const LineFrame& f) {
  WriteHeader(out, f.bytes.size(), f.bits, f.time_stamp, f.serial, f.generated);
  size_t n = std::min(f.bytes.size(), out.size() - kHeader);
  std::copy_n(f.bytes.begin(), n, out.begin() + kHeader);
  return kHeader + n;
}

// When the generator's frame number `index` (counted since paced_from) comes due.
SimClock::time_point DueAt(const GeneratorState& g, uint64_t index) {
  auto offset = duration<double>(static_cast<double>(index) / g.settings.rate);
  return *g.paced_from + duration_cast<SimClock::duration>(offset);
}

std::optional<SimClock::time_point> NextDue(const GeneratorState& g) {
  if (!g.paced_from) return std::nullopt;
  return DueAt(g, g.paced);
}

// A paced generator's frames that have come due, into the queue as far as
// it has room; the rest overrun it, as on a line nobody reads fast enough.
void Pace(CardState& st, SimClock::time_point now) {
  FramePathState& fp = st.frame_path;
  GeneratorState& g = fp.generator;
  if (!st.comms_enabled || !g.on || g.settings.rate == 0 || Exhausted(g)) return;
  if (!g.paced_from) {
    g.paced_from = now;
    g.paced = 0;
  }
  const double elapsed = duration<double>(now - *g.paced_from).count();
  const auto due = static_cast<uint64_t>(elapsed * g.settings.rate) + 1;
  uint64_t n = due > g.paced ? due - g.paced : 0;
  if (g.settings.count != 0) n = std::min(n, g.settings.count - g.offered);
  const uint64_t queued = std::min(n, QueueRoom(fp, g.settings.size + kFrameCheckBytes));
  for (uint64_t k = 0; k < queued; ++k) {
    const auto at = DueAt(g, g.paced + k);
    LineFrame f;
    f.bytes.resize(g.settings.size + kFrameCheckBytes);
    FillGenerated(g.settings, g.offered + k, f.bytes);
    f.time_stamp = TimeStamp(fp, at);
    f.serial = fp.next_serial++;
    f.generated = true;
    f.arrived = at;
    fp.queue.push_back(std::move(f));
    CountReceived(st, g.settings.size, now);
  }
  CountQueueFull(st, n - queued);
  g.overflowed += n - queued;
  g.paced += n;
  g.offered += n;
  UpdateQueued(st);
}

bool FrameReady(const CardState& st, SimClock::time_point now) {
  const FramePathState& fp = st.frame_path;
  const GeneratorState& g = fp.generator;
  if (!fp.queue.empty()) return true;
  if (!g.on || Exhausted(g)) return false;
  if (g.settings.rate == 0 || !g.paced_from) return true;
  return *NextDue(g) <= now;
}

// One frame into out: the oldest queued, else one the generator makes on
// the spot when it runs as fast as frames are taken. The bytes written.
std::optional<size_t> TakeFrame(CardState& st, SimClock::time_point now, std::span<uint8_t> out) {
  FramePathState& fp = st.frame_path;
  GeneratorState& g = fp.generator;
  Pace(st, now);
  if (!fp.queue.empty()) {
    size_t n = WriteFrame(out, fp.queue.front());
    if (fp.queue.front().generated) ++g.handed_out;
    fp.queue.pop_front();
    fp.receiver_stopped = false;
    UpdateQueued(st);
    return n;
  }
  if (!g.on || g.settings.rate != 0 || Exhausted(g)) return std::nullopt;
  const size_t length = g.settings.size + kFrameCheckBytes;
  const uint64_t sequence = g.offered++;
  ++g.handed_out;
  CountReceived(st, g.settings.size, now);
  WriteHeader(out, length, 0, TimeStamp(fp, now), fp.next_serial++, true);
  if (out.size() >= kHeader + length) {
    FillGenerated(g.settings, sequence, out.subspan(kHeader, length));
    return kHeader + length;
  }
  std::vector<uint8_t> frame(length);
  FillGenerated(g.settings, sequence, frame);
  std::copy_n(frame.begin(), out.size() - kHeader, out.begin() + kHeader);
  return out.size();
}

// Puts an accepted frame on the line; the card at the far end, when the
// line reaches another one, is left to the caller, who holds no lock then.
uint8_t Transmit(Card& card, CardState& st, std::span<const uint8_t> data, uint16_t length, Card** far_end) {
  auto& fault = st.frame_path.send_fault;
  if (fault) {
    uint8_t result = fault->result;
    if (fault->remaining > 0 && --fault->remaining == 0) fault.reset();
    return result;
  }
  if (!st.comms_enabled || !st.config) return kSendLineDown;
  if (length > data.size()) return kSendBadLength;
  if (length > StreamingConfig::Read(*st.config).max_frame_size) {
    ++st.op_stats.tx_discarded_length;
    return kSendTooLong;
  }
  ++st.op_stats.tx_frames;
  st.op_stats.tx_bytes += length;
  Measure(st.frame_path.tx_window, length, SimClock::now(), st.op_stats.tx_throughput,
          st.op_stats.tx_throughput_ms);
  if (LineLoopsBack(st) || st.cable == &card) ReceiveFromLine(st, data.first(length), 0);
  else *far_end = st.cable;
  return 0;
}

// The far end's card takes the frame, or, in payload loop-back, returns it.
void Deliver(Card& sender, Card& far_end, std::span<const uint8_t> frame) {
  const bool returned = far_end.withState([&](CardState& far) {
    if (far.front_end.payload_loopback) return true;
    ReceiveFromLine(far, frame, 0);
    return false;
  });
  if (returned) sender.withState([&](CardState& st) { ReceiveFromLine(st, frame, 0); });
}

// The buffer comes in as input; only its result byte goes back.
bool SendFrameRequest(ControlCall& call) {
  if (call.in.size() < SendFrameBuffer::kDataOffset || call.out.empty()) return false;
  const uint16_t length = le::get_u16(call.in, 2);
  const auto data = call.in.subspan(SendFrameBuffer::kDataOffset);
  Card* far_end = nullptr;
  call.out[0] = call.card.withState([&](CardState& st) { return Transmit(call.card, st, data, length, &far_end); });
  call.returned = 1;
  if (far_end != nullptr) Deliver(call.card, *far_end, data.first(length));
  return true;
}

bool ReceiveFrameRequest(ControlCall& call) {
  if (call.out.size() < kHeader) return false;
  auto lock = call.card.lock();
  CardState& st = call.card.state(lock);
  std::optional<WaitingReader> waiting;
  for (;;) {
    if (!st.comms_enabled) return false;
    const auto now = SimClock::now();
    if (auto written = TakeFrame(st, now, call.out)) {
      call.returned = static_cast<uint32_t>(*written);
      return true;
    }
    if (!waiting) waiting.emplace(st.frame_path, ReaderRoom{1, call.out.size(), call.out.size(), 0});
    auto deadline = std::min(NextDue(st.frame_path.generator).value_or(now + kLongestWait),
                             now + kLongestWait);
    auto woken = [&] { return !st.comms_enabled || FrameReady(st, SimClock::now()); };
    if (!call.card.waitUntil(lock, call.session, deadline, woken)) return false;
  }
}

bool MadeOnTheSpot(const GeneratorState& g) { return g.on && g.settings.rate == 0 && !Exhausted(g); }
bool Paced(const GeneratorState& g) {
  return g.on && g.settings.rate != 0 && !Exhausted(g) && g.paced_from.has_value();
}

// The frames a waiting batch request is answered with at the latest: as
// many as its reply holds of those coming.
size_t BatchMark(const FramePathState& fp, const ReaderRoom& room) {
  const size_t coming = fp.queue.empty() ? fp.generator.settings.size + kFrameCheckBytes : fp.queue.front().bytes.size();
  return std::max<size_t>(Holds(room, coming), 1);
}

// With Pace run for now: whether a reader waiting for several frames is
// answered now. Frames wait a little for company; while they wait they are
// the reader's, never a burden on the card's queue.
bool BatchDue(const CardState& st, SimClock::time_point now, const ReaderRoom& room) {
  const FramePathState& fp = st.frame_path;
  if (MadeOnTheSpot(fp.generator)) return true;
  if (fp.queue.empty()) return false;
  return fp.queue.size() >= BatchMark(fp, room) || now - fp.queue.front().arrived >= kBatchDelay;
}

SimClock::time_point BatchDeadline(const CardState& st, SimClock::time_point now, const ReaderRoom& room) {
  const FramePathState& fp = st.frame_path;
  const GeneratorState& g = fp.generator;
  auto deadline = now + kLongestWait;
  if (!fp.queue.empty()) deadline = std::min(deadline, fp.queue.front().arrived + kBatchDelay);
  if (Paced(g)) {
    if (fp.queue.empty()) deadline = std::min(deadline, DueAt(g, g.paced) + kBatchDelay);
    const size_t mark = BatchMark(fp, room);
    const uint64_t to_mark = mark - std::min(fp.queue.size(), mark);
    deadline = std::min(deadline, DueAt(g, g.paced + std::max<uint64_t>(to_mark, 1) - 1));
  }
  return std::max(deadline, now);
}

// How many bytes of the next frame's image a reader keeping `image_len` gets.
std::optional<size_t> NextImageSize(const CardState& st, uint32_t image_len) {
  const FramePathState& fp = st.frame_path;
  size_t bytes = 0;
  if (!fp.queue.empty())
    bytes = fp.queue.front().bytes.size();
  else if (MadeOnTheSpot(fp.generator))
    bytes = fp.generator.settings.size + kFrameCheckBytes;
  else
    return std::nullopt;
  return kHeader + std::min<size_t>(bytes, image_len - kHeader);
}

// As many frames as are ready and fit, each behind its length; the bytes written.
size_t TakeFrames(CardState& st, SimClock::time_point now, uint32_t image_len, std::span<uint8_t> out) {
  size_t at = 0;
  for (size_t n = 0; n < kMaxBatchFrames; ++n) {
    const auto size = NextImageSize(st, image_len);
    if (!size || out.size() - at < wire::kBatchFramePrefix + *size) break;
    const auto written = TakeFrame(st, now, out.subspan(at + wire::kBatchFramePrefix, *size));
    if (!written) break;
    le::put_u32(out, at, static_cast<uint32_t>(*written));
    at += wire::kBatchFramePrefix + *written;
  }
  return at;
}

bool ReceiveFramesRequest(ControlCall& call) {
  if (call.in.size() != wire::kReceiveFramesInSize) return false;
  const uint32_t image_len = le::get_u32(call.in, 0);
  if (image_len < kHeader || call.out.size() < wire::kBatchFramePrefix + image_len) return false;
  const auto limit = SimClock::now() + milliseconds(le::get_u32(call.in, 4));
  auto lock = call.card.lock();
  CardState& st = call.card.state(lock);
  const ReaderRoom room{kMaxBatchFrames, call.out.size(), image_len, wire::kBatchFramePrefix};
  // A request that came before the last answer went out has been waiting
  // since, though the simulator takes it up only now; so have those behind it.
  std::optional<WaitingReader> waiting;
  if (call.session.queued() > 0) {
    ReaderRoom held = room;
    held.requests = call.session.queued();
    waiting.emplace(st.frame_path, held);
  }
  for (;;) {
    if (!st.comms_enabled) return false;
    const auto now = SimClock::now();
    Pace(st, now);
    if (BatchDue(st, now, room) || now >= limit) {
      call.returned = static_cast<uint32_t>(TakeFrames(st, now, image_len, call.out));
      return true;
    }
    if (!waiting) waiting.emplace(st.frame_path, room);
    // A frame arriving meanwhile may bring the deadline forward.
    const auto deadline = std::min(BatchDeadline(st, now, room), limit);
    auto woken = [&] {
      const auto at = SimClock::now();
      Pace(st, at);
      return !st.comms_enabled || BatchDue(st, at, room) || BatchDeadline(st, at, room) < deadline;
    };
    if (!call.card.waitUntil(lock, call.session, deadline, woken)) return false;
  }
}

}  // namespace

void ReceiveFromLine(CardState& st, std::span<const uint8_t> data, uint8_t bits) {
  if (!st.comms_enabled) return;
  FramePathState& fp = st.frame_path;
  if (data.size() + kFrameCheckBytes > ReceivedFrame::kMaxData) {
    ++st.op_stats.rx_discarded_length;
    return;
  }
  if (QueueRoom(fp, data.size() + kFrameCheckBytes) == 0) {
    CountQueueFull(st, 1);
    return;
  }
  const auto now = SimClock::now();
  LineFrame f;
  f.bytes.resize(data.size() + kFrameCheckBytes);
  std::copy(data.begin(), data.end(), f.bytes.begin());
  AppendFcs16(f.bytes);
  f.bits = bits;
  f.time_stamp = TimeStamp(fp, now);
  f.serial = fp.next_serial++;
  f.arrived = now;
  fp.queue.push_back(std::move(f));
  CountReceived(st, data.size(), now);
  UpdateQueued(st);
}


void FlushReceivedFrames(CardState& st) {
  FramePathState& fp = st.frame_path;
  fp.queue.clear();
  fp.receiver_stopped = false;
  fp.flushed_below = fp.next_serial;
  fp.generator.paced_from.reset();
  UpdateQueued(st);
}

void RestartThroughput(CardState& st) {
  st.frame_path.tx_window = {};
  st.frame_path.rx_window = {};
}

bool StartGenerator(Card& card, const GeneratorSettings& settings) {
  if (settings.size > kMaxGeneratedSize) return false;
  card.withState([&](CardState& st) {
    GeneratorState& g = st.frame_path.generator;
    g = GeneratorState{};
    g.on = true;
    g.settings = settings;
  });
  return true;
}

void StopGenerator(Card& card) {
  card.withState([](CardState& st) { st.frame_path.generator.on = false; });
}

GeneratorReport ReadGenerator(Card& card) {
  return card.withState([](CardState& st) {
    Pace(st, SimClock::now());
    const GeneratorState& g = st.frame_path.generator;
    return GeneratorReport{g.on,         g.settings,     g.offered, g.handed_out,
                           g.overflowed, st.frame_path.queue.size()};
  });
}

void FailSends(Card& card, uint8_t result, int times) {
  card.withState([&](CardState& st) {
    if (times == 0)
      st.frame_path.send_fault.reset();
    else
      st.frame_path.send_fault = SendFault{result, times};
  });
}

void GiveBackFrames(Card& card, std::span<const std::vector<uint8_t>> images) {
  if (images.empty()) return;
  card.withState([&](CardState& st) {
    if (!st.comms_enabled) return;
    FramePathState& fp = st.frame_path;
    std::vector<LineFrame> back;
    for (const auto& image : images) {
      if (image.size() < kHeader || image[0] != 1) continue;
      const uint16_t length = le::get_u16(image, 1);
      // A frame cut short by a small buffer cannot be made whole again.
      if (image.size() < kHeader + length) continue;
      const uint64_t serial =
          le::get_u32(image, kSerialOffset) | (uint64_t{le::get_u32(image, kSerialOffset + 4)} << 32);
      if (serial < fp.flushed_below) continue;
      LineFrame f;
      f.bytes.assign(image.begin() + kHeader, image.begin() + kHeader + length);
      f.bits = image[3];
      f.time_stamp = le::get_u16(image, 4);
      f.serial = serial;
      f.generated = image[kGeneratedOffset] == 1;
      f.arrived = SimClock::now();
      if (f.generated && fp.generator.handed_out > 0) --fp.generator.handed_out;
      back.push_back(std::move(f));
    }
    fp.queue.insert(fp.queue.begin(), std::make_move_iterator(back.begin()),
                    std::make_move_iterator(back.end()));
    UpdateQueued(st);
  });
}

void RegisterFramePath(Firmware& firmware) {
  firmware.addControl(IOCTL_SEND_FRAME, SendFrameRequest);
  firmware.addControl(IOCTL_RECEIVE_FRAME, ReceiveFrameRequest);
  firmware.addControl(wire::kReceiveFrames, ReceiveFramesRequest);
}

}  // namespace cardsim
