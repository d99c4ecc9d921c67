#pragma once
// What the memory dump's two fields ask for: the offset from the first
// five characters of the address field and the length from the first
// three of the length field, both read with ParseHexField.

#include <cstdint>
#include <string_view>

// Adapter memory the card holds, and the most one read returns.
inline constexpr uint32_t kAdapterMemoryBytes = 0x20000;
inline constexpr uint16_t kMaxMemoryRead = 1350;

struct MemoryDumpRange {
  enum class Verdict { kOk, kBadOffset, kBadLength };
  Verdict verdict = Verdict::kOk;
  uint32_t offset = 0;
  // Cut to the end of memory; when cut, the length field shows it.
  uint32_t length = 0;
  bool length_cut = false;
  // What one read asks for: the length, cut to kMaxMemoryRead without telling.
  uint16_t read_length = 0;
};

MemoryDumpRange ParseMemoryDumpFields(std::string_view address, std::string_view length);
