#include "tools/talvctl/value_parsing.h"

#include <charconv>
#include <string>

namespace talvctl {

namespace {

std::optional<uint32_t> Parse(std::string_view text, uint32_t max, int base) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
  if (ec != std::errc() || ptr != end || value > max) return std::nullopt;
  return static_cast<uint32_t>(value);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<uint32_t> ParseDecimal(std::string_view text, uint32_t max) { return Parse(text, max, 10); }

std::optional<uint32_t> ParseHex(std::string_view text, uint32_t max) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  return Parse(text, max, 16);
}

std::optional<bool> ParseOnOff(std::string_view text) {
  if (text == "on") return true;
  if (text == "off") return false;
  return std::nullopt;
}

std::optional<uint8_t> ParseNamed(std::span<const card::NamedValue> table, std::string_view text) {
  for (const card::NamedValue& v : table)
    if (SameIgnoringCase(v.name, text)) return v.value;
  return std::nullopt;
}

std::string NamesOf(std::span<const card::NamedValue> table) {
  std::string names;
  for (const card::NamedValue& v : table) names += (names.empty() ? "" : ", ") + std::string(v.name);
  return names;
}

}  // namespace talvctl
