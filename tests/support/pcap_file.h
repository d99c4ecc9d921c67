#pragma once
// Reads back a capture file, for the tests.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "driver_if/le.h"

struct PcapRecord {
  uint32_t seconds = 0;
  uint32_t microseconds = 0;
  uint32_t original_length = 0;
  std::vector<uint8_t> bytes;
};

struct PcapFile {
  std::vector<uint8_t> header;  // the 24 bytes before the records
  std::vector<PcapRecord> records;
  bool whole = true;  // false when the file ends inside a record
};

inline PcapFile ReadPcap(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  PcapFile file;
  if (b.size() < 24) {
    file.whole = false;
    file.header = b;
    return file;
  }
  file.header.assign(b.begin(), b.begin() + 24);
  size_t at = 24;
  while (at < b.size()) {
    if (b.size() - at < 16) break;
    PcapRecord r{le::get_u32(b, at), le::get_u32(b, at + 4), le::get_u32(b, at + 12), {}};
    const uint32_t kept = le::get_u32(b, at + 8);
    at += 16;
    if (b.size() - at < kept) break;
    r.bytes.assign(b.begin() + at, b.begin() + at + kept);
    at += kept;
    file.records.push_back(std::move(r));
  }
  file.whole = at == b.size();
  return file;
}
