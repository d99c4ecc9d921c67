#pragma once
// Reads a capture file back through libpcap, the way analysers read it.

#include <pcap/pcap.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "driver_if/le.h"

namespace talvcap_test {

struct PcapContents {
  int link_type = 0;
  std::vector<std::vector<uint8_t>> records;

  // The generator's sequence number, in a record's first four bytes.
  uint32_t sequence(size_t i) const { return le::get_u32(records.at(i), 0); }
};

// Null when the file is not a whole, valid capture.
inline std::optional<PcapContents> ReadPcap(const std::string& path) {
  char error[PCAP_ERRBUF_SIZE];
  pcap_t* p = pcap_open_offline(path.c_str(), error);
  if (p == nullptr) return std::nullopt;
  PcapContents contents;
  contents.link_type = pcap_datalink(p);
  pcap_pkthdr* header = nullptr;
  const u_char* data = nullptr;
  int rc = 0;
  while ((rc = pcap_next_ex(p, &header, &data)) == 1) contents.records.emplace_back(data, data + header->caplen);
  pcap_close(p);
  // -2 is the end of the file; -1 a record cut short.
  if (rc != PCAP_ERROR_BREAK) return std::nullopt;
  return contents;
}

}  // namespace talvcap_test
