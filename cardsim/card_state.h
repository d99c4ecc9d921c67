#pragma once
// The state of one simulated card, shared by every handle and every
// process. It is guarded by the card's mutex (Card::withState).

#include <array>
#include <cstdint>
#include <optional>

#include "cardsim/ft1_unit.h"
#include "cardsim/front_end.h"
#include "cardsim/frame_path_state.h"
#include "driver_if/records.h"

namespace cardsim {

struct OperationalStats {
  uint32_t tx_frames = 0;
  uint32_t tx_bytes = 0;
  uint32_t tx_throughput = 0;
  uint32_t tx_throughput_ms = 0;
  uint32_t tx_discarded_length = 0;
  uint32_t rx_frames = 0;
  uint32_t rx_bytes = 0;
  uint32_t rx_throughput = 0;
  uint32_t rx_throughput_ms = 0;
  uint32_t rx_discarded_length = 0;
  uint32_t rx_discarded_no_buffer = 0;  // the receive queue was full
};

struct CommsErrorStats {
  uint16_t rx_overrun = 0;
  uint16_t rx_crc = 0;
  uint16_t rx_abort = 0;
  uint16_t rx_disabled_buffers_full = 0;
  uint16_t missed_tx_underrun_irqs = 0;
  uint16_t dcd_dropped = 0;
  uint16_t cts_dropped = 0;
};

struct CardState {
  // The StreamingConfig image last set, reserved words included; empty
  // until the card is configured.
  std::optional<std::array<uint8_t, StreamingConfig::kSize>> config;
  // The T1/E1 line parameters last accepted.
  std::optional<TECardConfig> te_config;
  bool comms_enabled = false;
  bool dtr = false;
  bool rts = false;
  uint8_t frames_queued = 0;
  OperationalStats op_stats;
  CommsErrorStats comms_errors;
  uint16_t irq_timeouts = 0;
  // Used only on cards that have the unit.
  Ft1Unit ft1;
  FrontEndState front_end;
  FramePathState frame_path;
};

}  // namespace cardsim
