// stats: operational and communication error statistics, optionally cleared.

#include <nlohmann/json.hpp>

#include "card/chdlc.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/json_records.h"
#include "tools/talvctl/text_output.h"

namespace talvctl {

int RunStats(Session& s, const std::string& name, bool clear) {
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;
  const card::Reply<card::OperationalStatistics> op = card::ReadOperationalStatistics(device->exec());
  if (!op.ok()) return s.refused(READ_CHDLC_OPERATIONAL_STATS, op.rc);
  const card::Reply<card::CommErrorStatistics> errors = card::ReadCommErrorStatistics(device->exec());
  if (!errors.ok()) return s.refused(READ_COMMS_ERROR_STATS, errors.rc);
  // What was read is shown even when clearing then fails, so no count is lost unseen.
  uint8_t clear_code = 0, clear_rc = RC_OK;
  if (clear) {
    clear_rc = card::FlushOperationalStatistics(device->exec());
    clear_code = FLUSH_CHDLC_OPERATIONAL_STATS;
    if (clear_rc == RC_OK) {
      clear_rc = card::FlushCommErrorStatistics(device->exec());
      clear_code = FLUSH_COMMS_ERROR_STATS;
    }
  }

  if (s.json) {
    s.out << nlohmann::json{{"device", device->name()},
                            {"operational", ToJson(op.value)},
                            {"comm_errors", ToJson(errors.value)},
                            {"cleared", clear && clear_rc == RC_OK}}
                 .dump(2)
          << '\n';
  } else {
    const card::OperationalStatistics& o = op.value;
    Field(s.out, "Frames transmitted", o.frames_transmitted);
    Field(s.out, "Bytes transmitted", o.bytes_transmitted);
    Field(s.out, "Transmit throughput", o.transmit_throughput);
    Field(s.out, "Transmit throughput period (ms)", o.transmit_throughput_ms);
    Field(s.out, "Transmit discarded (length)", o.tx_discarded_length);
    Field(s.out, "Frames received", o.frames_received);
    Field(s.out, "Bytes received", o.bytes_received);
    Field(s.out, "Receive throughput", o.receive_throughput);
    Field(s.out, "Receive throughput period (ms)", o.receive_throughput_ms);
    Field(s.out, "Receive discarded (length)", o.rx_discarded_length);
    const card::CommErrorStatistics& e = errors.value;
    Field(s.out, "Receiver overruns", e.receiver_overrun);
    Field(s.out, "CRC errors", e.receiver_crc);
    Field(s.out, "Abort frames", e.abort_frames);
    Field(s.out, "Receiver disabled (buffers full)", e.receiver_disabled_buffers_full);
    Field(s.out, "Missed transmit underruns", e.missed_tx_underrun_interrupts);
    Field(s.out, "DCD dropped", e.dcd_dropped);
    Field(s.out, "CTS dropped", e.cts_dropped);
  }
  return clear_rc == RC_OK ? kExitOk : s.refused(clear_code, clear_rc);
}

}  // namespace talvctl
