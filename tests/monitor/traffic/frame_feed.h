#pragma once
// A thread-safe card for reception tests: mailbox commands answered with
// codes a test chooses, sent frames recorded, and received frames handed
// out from a queue by a blocking receive that fails once the line is
// disabled or the handle is cancelled.

#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <vector>

#include "driver_if/card_driver.h"
#include "driver_if/ioctl_codes.h"
#include "driver_if/le.h"
#include "driver_if/mailbox.h"

class FrameFeed : public CardDriver {
 public:
  struct Frame {
    std::vector<uint8_t> bytes;
    uint8_t bits = 0;
    uint16_t time_stamp = 0;
    uint8_t valid = 1;
    int length = -1;  // the length field, when it should differ from the bytes
    bool fail = false;  // the request fails instead
  };

  void push(Frame f) {
    std::lock_guard lock(m_);
    frames_.push_back(std::move(f));
    cv_.notify_all();
  }
  void setCode(uint8_t command, std::vector<uint8_t> codes) {
    std::lock_guard lock(m_);
    codes_[command] = std::move(codes);
  }
  std::vector<uint8_t> commands() {
    std::lock_guard lock(m_);
    return commands_;
  }
  std::vector<std::vector<uint8_t>> sentFrames() {
    std::lock_guard lock(m_);
    return sent_;
  }
  uint8_t send_result = 0;
  bool disable_ends_reception = true;  // false: a driver that keeps the reader blocked
  bool fail_reader_open = false;
  int open_handles() {
    std::lock_guard lock(m_);
    return handles_;
  }

  std::unique_ptr<DeviceHandle> open(std::string_view, uint32_t* error) override;

 private:
  friend class FeedHandle;
  std::mutex m_;
  std::condition_variable cv_;
  std::deque<Frame> frames_;
  std::map<uint8_t, std::vector<uint8_t>> codes_;
  std::vector<uint8_t> commands_;
  std::vector<std::vector<uint8_t>> sent_;
  bool line_enabled_ = false;
  int handles_ = 0;
  int opens_ = 0;
};

class FeedHandle : public DeviceHandle {
 public:
  explicit FeedHandle(FrameFeed& feed) : feed_(feed) {}
  ~FeedHandle() override {
    std::lock_guard lock(feed_.m_);
    --feed_.handles_;
  }
  bool control(uint32_t code, const void* in, size_t, void* out, size_t out_len, uint32_t* returned) override {
    auto* o = static_cast<uint8_t*>(out);
    std::unique_lock lock(feed_.m_);
    if (cancelled_) return false;
    if (code == IOCTL_EXEC_CMD || code == IOCTL_EXEC_CMD_2K) {
      const auto* block = static_cast<const uint8_t*>(in);
      uint8_t command = block[1];
      feed_.commands_.push_back(command);
      uint8_t rc = 0;
      auto& codes = feed_.codes_[command];
      if (!codes.empty()) {
        rc = codes.front();
        if (codes.size() > 1) codes.erase(codes.begin());
      }
      if (rc == 0 && command == ENABLE_CHDLC_COMMUNICATIONS) feed_.line_enabled_ = true;
      if (command == DISABLE_CHDLC_COMMUNICATIONS && feed_.disable_ends_reception) feed_.line_enabled_ = false;
      feed_.cv_.notify_all();
      o[4] = rc;
      if (returned) *returned = 16;
      return true;
    }
    if (code == IOCTL_SEND_FRAME) {
      const auto* b = static_cast<const uint8_t*>(in);
      uint16_t n = le::get_u16(std::span(b, 4), 2);
      feed_.sent_.emplace_back(b + 4, b + 4 + n);
      o[0] = feed_.send_result;
      return true;
    }
    if (code == IOCTL_RECEIVE_FRAME) {
      feed_.cv_.wait(lock, [&] { return cancelled_ || !feed_.line_enabled_ || !feed_.frames_.empty(); });
      if (cancelled_ || (!feed_.line_enabled_ && feed_.frames_.empty())) return false;
      FrameFeed::Frame f = std::move(feed_.frames_.front());
      feed_.frames_.pop_front();
      if (f.fail) return false;
      std::memset(o, 0, 16);
      o[0] = f.valid;
      uint16_t length = static_cast<uint16_t>(f.length >= 0 ? f.length : static_cast<int>(f.bytes.size()));
      o[1] = static_cast<uint8_t>(length);
      o[2] = static_cast<uint8_t>(length >> 8);
      o[3] = f.bits;
      o[4] = static_cast<uint8_t>(f.time_stamp);
      o[5] = static_cast<uint8_t>(f.time_stamp >> 8);
      size_t n = std::min(f.bytes.size(), out_len - 16);
      if (n > 0) std::memcpy(o + 16, f.bytes.data(), n);  // an empty frame has no data pointer
      if (returned) *returned = static_cast<uint32_t>(16 + n);
      return true;
    }
    return false;
  }
  void cancel() override {
    std::lock_guard lock(feed_.m_);
    cancelled_ = true;
    feed_.cv_.notify_all();
  }

 private:
  FrameFeed& feed_;
  bool cancelled_ = false;
};

inline std::unique_ptr<DeviceHandle> FrameFeed::open(std::string_view, uint32_t* error) {
  std::lock_guard lock(m_);
  ++opens_;
  // The first open is the connection's; the next is the reception thread's.
  if (fail_reader_open && opens_ > 1) {
    *error = 5;
    return nullptr;
  }
  ++handles_;
  return std::make_unique<FeedHandle>(*this);
}
