#pragma once
// The frame path of a simulated card. IOCTL_SEND_FRAME puts a frame on the
// line; IOCTL_RECEIVE_FRAME hands out received frames, one per request,
// waiting for one while the line is up. A sent frame goes where the line
// takes it: back to the card in line loop-back or with a loop-back plug,
// to the card at the other end of a cable, nowhere otherwise. A generator
// offers load. A received frame carries
// its two check bytes, status bits and a time stamp in milliseconds.
//
// The simulator's use of the ReceivedFrame's reserved bytes: byte 6 is 1
// for a generated frame, bytes 8..15 the frame's serial number on the card,
// so that a frame a reader gives back can be told from one flushed since.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "cardsim/card.h"
#include "cardsim/card_state.h"
#include "driver_if/records.h"

namespace cardsim {

// SendFrameBuffer results other than 0 (accepted).
inline constexpr uint8_t kSendLineDown = 0x02;
inline constexpr uint8_t kSendTooLong = 0x03;    // above the configured max_frame_size
inline constexpr uint8_t kSendBadLength = 0x04;  // more than the buffer carries

inline constexpr size_t kReceiveQueueFrames = 100;
// A reader asking for several frames at once (wire::kReceiveFrames) is
// answered once its reply is full, or once the oldest frame has waited
// kBatchDelay: a busy line costs one answer per batch, a quiet one little
// delay. Frames that come while a reader waits are its own, so batching
// never loses a frame the queue had room for.
inline constexpr std::chrono::milliseconds kBatchDelay{5};
inline constexpr size_t kMaxBatchFrames = 256;
inline constexpr size_t kFrameCheckBytes = 2;
inline constexpr uint16_t kMaxGeneratedSize = ReceivedFrame::kMaxData - kFrameCheckBytes;
inline constexpr size_t kSerialOffset = 8;
inline constexpr size_t kGeneratedOffset = 6;

// With the card's mutex held (inside Card::withState or a handler's lock).
//
// A frame that came in from the line: queued with its check bytes, or
// counted as discarded for want of a buffer when the queue is full. Frames too long for
// a receive buffer are counted as length discards.
void ReceiveFromLine(CardState& state, std::span<const uint8_t> data, uint8_t bits);
// The line went down: frames waiting go, and a paced generator starts its
// schedule again when the line comes back.
void FlushReceivedFrames(CardState& state);

// Statistics were flushed: throughput is measured afresh.
void RestartThroughput(CardState& state);

// These lock the card and wake its waiting readers.
//
// False when the size is above kMaxGeneratedSize. Restarts the sequence at 0.
bool StartGenerator(Card& card, const GeneratorSettings& settings);
void StopGenerator(Card& card);

struct GeneratorReport {
  bool on = false;
  GeneratorSettings settings;
  uint64_t offered = 0;
  uint64_t handed_out = 0;
  uint64_t overflowed = 0;  // lost at the card: the receive queue was full
  size_t queued = 0;  // frames of any kind waiting for a reader
};
GeneratorReport ReadGenerator(Card& card);

// The next `times` sends (negative: every one; 0 ends the fault) are
// refused with `result`.
void FailSends(Card& card, uint8_t result, int times);

// ReceivedFrame images a reader was answered with but never delivered, in
// the order they were answered: back to the head of the queue, unless the
// line went down since they were taken.
void GiveBackFrames(Card& card, std::span<const std::vector<uint8_t>> images);

}  // namespace cardsim
