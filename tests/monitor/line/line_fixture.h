#pragma once
// The monitor over the scripted card, connected to a card with a chosen
// front end, with adapter memory the card answers IOCTL_READ_MEMORY from.

#include <array>
#include <vector>

#include "driver_if/le.h"
#include "tests/monitor/core/core_fixture.h"

class LineTest : public CoreTest {
 protected:
  static constexpr size_t kMemorySize = 0x20000;

  LineTest() {
    for (size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    auto mailbox = driver.answer;
    driver.answer = [this, mailbox](const fake::Request& r, uint8_t* out, size_t out_len) {
      if (r.code != IOCTL_READ_MEMORY) return mailbox(r, out, out_len);
      if (!memory_answers) return false;
      MemoryReadRequest q;
      std::copy(r.in.begin(), r.in.end(), q.bytes().begin());
      q.setStatus(memory_status);
      if (memory_status == 0)
        for (size_t i = 0; i < q.length(); ++i) q.data()[i] = memory[(q.offset() + i) % kMemorySize];
      std::copy(q.bytes().begin(), q.bytes().end(), out);
      return true;
    };
  }

  void SetUp() override {
    writeIni("[Polling]\nuse_system_timer=0\n");
    start();
  }

  // Opens the device, detects the given front end and enables the menu as
  // a real configuration would.
  void connectWith(uint8_t front_end) {
    openDevice();
    replies[READ_FRONT_END_TYPE] = {0, {front_end}};
    app->serviceUnit().Detect(core->exec());
    core->connection().SetConnectedMenus();
    driver.requests.clear();
  }

  static std::vector<uint8_t> AlarmReply(uint16_t alarms, std::array<uint32_t, 4> counters = {}) {
    std::vector<uint8_t> data(20);
    le::put_u16(data, 0, alarms);
    for (size_t i = 0; i < counters.size(); ++i) le::put_u32(data, 4 + 4 * i, counters[i]);
    return data;
  }

  // The mailbox commands sent with IOCTL_EXEC_CMD_2K, in order.
  std::vector<uint8_t> sent2K() const {
    std::vector<uint8_t> out;
    for (const auto& r : driver.requests)
      if (r.code == IOCTL_EXEC_CMD_2K) out.push_back(r.in[1]);
    return out;
  }

  std::array<uint8_t, kMemorySize> memory{};
  uint8_t memory_status = 0;
  bool memory_answers = true;
};
