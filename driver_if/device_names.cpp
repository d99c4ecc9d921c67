#include "driver_if/device_names.h"

namespace {
constexpr std::string_view kPrefix = "TALVSTRM";
}

std::optional<int> CardIndexOf(std::string_view name) {
  if (!name.starts_with(kPrefix)) return std::nullopt;
  std::string_view digits = name.substr(kPrefix.size());
  if (digits.empty() || digits.size() > 2) return std::nullopt;
  if (digits.size() == 2 && digits[0] == '0') return std::nullopt;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value >= kMaxCards) return std::nullopt;
  return value;
}

bool IsCardDeviceName(std::string_view name) { return CardIndexOf(name).has_value(); }

std::string CardDeviceName(int index) { return std::string(kPrefix) + std::to_string(index); }
