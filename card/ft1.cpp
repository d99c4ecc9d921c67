#include "card/ft1.h"

#include "card/mailbox_exchange.h"
#include "driver_if/mailbox.h"

namespace card {

namespace {

Reply<std::string> ReadText(CommandExecutor& exec, uint8_t code) {
  const uint8_t rc = Exchange(exec, code);
  if (rc != RC_OK) return {rc, {}};
  const auto data = ReplyData(exec);
  return {rc, std::string(data.begin(), data.end())};
}

}  // namespace

Reply<Ft1Status> ReadFt1Status(CommandExecutor& exec) {
  const uint8_t rc = Exchange2K(exec, READ_FT1_STATUS);
  const auto data = exec.block().data();
  return {rc, {data[0], data[1]}};
}

uint8_t Ft1Select(CommandExecutor& exec) { return Exchange(exec, FT1_SELECT); }

uint8_t SendFt1MonitorFlags(CommandExecutor& exec, uint8_t flags) {
  const uint8_t payload[] = {flags};
  return Exchange(exec, SET_FT1_MONITOR_FLAGS, payload);
}

Reply<std::string> ReadFt1Statistics(CommandExecutor& exec) { return ReadText(exec, READ_FT1_OPERATIONAL_STATS); }

Reply<Ft1Configuration> ReadFt1Configuration(CommandExecutor& exec) {
  const uint8_t rc = Exchange(exec, READ_FT1_CONFIGURATION);
  return {rc, Ft1Configuration::Read(exec.block().data())};
}

Ft1SetResult SetFt1Configuration(CommandExecutor& exec, const Ft1Configuration& config) {
  uint8_t image[Ft1Configuration::kSize];
  config.Write(image);
  const uint8_t rc = Exchange(exec, SET_FT1_CONFIGURATION, image);
  return {rc, exec.block().bufferLength()};
}

uint8_t SendFt1Character(CommandExecutor& exec, uint8_t ch) {
  const uint8_t payload[] = {ch};
  return Exchange(exec, SEND_FT1_CHARACTER, payload);
}

Reply<std::string> ReadFt1Characters(CommandExecutor& exec) { return ReadText(exec, READ_FT1_CHARACTERS); }

}  // namespace card
