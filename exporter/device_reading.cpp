#include "exporter/device_reading.h"

#include "card/chdlc.h"
#include "card/front_end.h"
#include "driver_if/requests.h"

namespace exporter {

namespace {

template <class Record>
std::optional<Record> IfOk(const card::Reply<Record>& reply) {
  return reply.ok() ? std::optional<Record>(reply.value) : std::nullopt;
}

void ReadServiceUnit(CommandExecutor& exec, DeviceReading* r) {
  if (r->unit.te1()) {
    const card::Reply<card::Te1Alarms> alarms = card::ReadTe1Alarms(exec);
    if (alarms.ok()) r->te1 = alarms.value;
    r->loopbacks = IfOk(card::ReadActiveLoopbacks(exec));
  } else if (r->unit.front_end_type == kFrontEnd56K) {
    r->status_56k = IfOk(card::Read56KStatus(exec));
  } else if (r->unit.ft1_present) {
    r->ft1_status = IfOk(card::ReadFt1Status(exec));
    const card::Reply<std::string> line = card::ReadFt1Statistics(exec);
    r->ft1_statistics_on = line.ok();
    if (line.ok()) r->ft1_statistics = card::ParseFt1StatisticsLine(line.value);
  }
}

}  // namespace

bool ReadDevice(DeviceHandle* handle, CommandExecutor& exec, DeviceReading* r) {
  if (!ReadHardwareInfo(handle, r->hardware)) return false;
  const card::Reply<card::LinkStatus> link = card::ReadLinkStatus(exec);
  if (!link.ok()) return false;
  r->link = link.value;

  const card::Reply<std::string> version = card::ReadCodeVersion(exec);
  r->code_version = version.ok() ? version.value : card::kUnknownCodeVersion;
  r->unit = card::ProbeServiceUnit(exec);
  r->operational = IfOk(card::ReadOperationalStatistics(exec));
  r->comm_errors = IfOk(card::ReadCommErrorStatistics(exec));
  r->global = IfOk(card::ReadGlobalStatistics(exec));
  r->modem = IfOk(card::ReadModemStatus(exec));
  ReadServiceUnit(exec, r);
  return true;
}

}  // namespace exporter
