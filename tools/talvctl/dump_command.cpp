// dump: adapter memory in the dump window's listing format.

#include <fstream>
#include <nlohmann/json.hpp>

#include "driver_if/requests.h"
#include "monitor/line/memory_listing.h"
#include "tools/talvctl/commands.h"
#include "tools/talvctl/frame_bytes.h"
#include "tools/talvctl/text_output.h"
#include "tools/talvctl/value_parsing.h"

namespace talvctl {

namespace {

constexpr uint32_t kMemorySize = 0x20000;
// The most one IOCTL_READ_MEMORY returns; longer dumps take several.
constexpr uint32_t kMaxReadLength = 1350;

}  // namespace

int RunDump(Session& s, const std::string& name, const std::string& offset_text, const std::string& length_text,
            const std::optional<std::string>& output) {
  const std::optional<uint32_t> offset = ParseHex(offset_text, kMemorySize - 1);
  if (!offset) return s.usage("OFFSET \"" + offset_text + "\" is not a hexadecimal offset from 0 to 1FFFF");
  const std::optional<uint32_t> length = ParseHex(length_text, kMemorySize - *offset);
  if (!length || *length == 0)
    return s.usage("LENGTH \"" + length_text + "\" is not a hexadecimal length from 1 to " +
                   Hex(kMemorySize - *offset, 1).substr(2) + " (the memory ends at 1FFFF)");
  int status = kExitOk;
  std::unique_ptr<card::Device> device = s.open(name, &status);
  if (device == nullptr) return status;

  std::vector<uint8_t> bytes;
  auto request = std::make_unique<MemoryReadRequest>();
  for (uint32_t done = 0; done < *length;) {
    const uint32_t chunk = std::min(kMaxReadLength, *length - done);
    request->clear();
    request->setStatus(0xAA);
    request->setOffset(*offset + done);
    request->setLength(static_cast<uint16_t>(chunk));
    ReadMemory(device->handle(), *request);
    if (request->status() != 0)
      return s.refused("IOCTL_READ_MEMORY returned status " + Hex(request->status(), 2) + " at offset " +
                       Hex(*offset + done, 5));
    bytes.insert(bytes.end(), request->data().begin(), request->data().begin() + chunk);
    done += chunk;
  }

  std::string text;
  if (s.json)
    text = nlohmann::json{{"device", device->name()},
                          {"offset", *offset},
                          {"length", *length},
                          {"data", HexBytes(bytes.data(), bytes.size())}}
               .dump(2) +
           '\n';
  else
    for (const std::string& line : MemoryListing(*offset, bytes)) text += line + '\n';
  if (!output) {
    s.out << text;
    return kExitOk;
  }
  std::ofstream file(*output, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file) return s.fail(kExitCardFailed, "cannot write " + *output);
  return kExitOk;
}

}  // namespace talvctl
