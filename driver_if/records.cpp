#include "driver_if/records.h"

HardwareInfo HardwareInfo::Read(std::span<const uint8_t> b) {
  HardwareInfo h;
  h.card_type = le::get_u16(b, 0);
  h.bus_number = le::get_u32(b, 2);
  h.slot_number = le::get_u32(b, 6);
  h.cpu = le::get_u16(b, 10);
  h.comm_port = le::get_u16(b, 12);
  h.memory_base = le::get_u32(b, 14);
  h.irq = le::get_u32(b, 18);
  h.io_port = le::get_u32(b, 22);
  return h;
}

void HardwareInfo::Write(std::span<uint8_t> b) const {
  le::put_u16(b, 0, card_type);
  le::put_u32(b, 2, bus_number);
  le::put_u32(b, 6, slot_number);
  le::put_u16(b, 10, cpu);
  le::put_u16(b, 12, comm_port);
  le::put_u32(b, 14, memory_base);
  le::put_u32(b, 18, irq);
  le::put_u32(b, 22, io_port);
}

TECardConfig TECardConfig::Read(std::span<const uint8_t> b) {
  TECardConfig c;
  c.media_type = b[0];
  c.line_decoding = b[1];
  c.framing = b[2];
  c.line_build_out = b[3];
  c.clocking = b[4];
  c.active_channels = le::get_u32(b, 8);
  c.result = b[kResultOffset];
  return c;
}

void TECardConfig::Write(std::span<uint8_t> b) const {
  std::fill(b.begin(), b.begin() + kSize, uint8_t{0});
  b[0] = media_type;
  b[1] = line_decoding;
  b[2] = framing;
  b[3] = line_build_out;
  b[4] = clocking;
  le::put_u32(b, 8, active_channels);
  b[kResultOffset] = result;
}

StreamingConfig StreamingConfig::Read(std::span<const uint8_t> b) {
  StreamingConfig c;
  c.baud_rate = le::get_u32(b, kBaudRateOffset);
  c.interface = le::get_u16(b, 4);
  c.modem_options = le::get_u16(b, kModemOptionsOffset);
  c.percent_tx_buffers = le::get_u16(b, kPercentTxBuffersOffset);
  c.statistics_options = le::get_u16(b, kStatisticsOptionsOffset);
  c.max_frame_size = le::get_u16(b, kMaxFrameSizeOffset);
  return c;
}

void StreamingConfig::Write(std::span<uint8_t> b) const {
  std::fill(b.begin(), b.begin() + kSize, uint8_t{0});
  le::put_u32(b, kBaudRateOffset, baud_rate);
  le::put_u16(b, 4, interface);
  le::put_u16(b, kModemOptionsOffset, modem_options);
  le::put_u16(b, 12, 0x8000);
  le::put_u16(b, kPercentTxBuffersOffset, percent_tx_buffers);
  le::put_u16(b, kStatisticsOptionsOffset, statistics_options);
  le::put_u16(b, kMaxFrameSizeOffset, max_frame_size);
}

Ft1Configuration Ft1Configuration::Read(std::span<const uint8_t> b) {
  Ft1Configuration c;
  c.framing = le::get_u16(b, 0);
  c.encoding = le::get_u16(b, 2);
  c.line_build_out = le::get_u16(b, 4);
  c.channel_base = le::get_u16(b, 6);
  c.baud_rate = le::get_u16(b, 8);
  c.clock_mode = le::get_u16(b, 10);
  return c;
}

void Ft1Configuration::Write(std::span<uint8_t> b) const {
  le::put_u16(b, 0, framing);
  le::put_u16(b, 2, encoding);
  le::put_u16(b, 4, line_build_out);
  le::put_u16(b, 6, channel_base);
  le::put_u16(b, 8, baud_rate);
  le::put_u16(b, 10, clock_mode);
}
