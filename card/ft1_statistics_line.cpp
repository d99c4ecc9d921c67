#include "card/ft1_statistics_line.h"

namespace card {

namespace {

constexpr size_t kColumnWidth = 4;

// Digits with optional leading blanks; nothing else.
std::optional<uint32_t> Field(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  return value;
}

}  // namespace

std::optional<Ft1StatisticsLine> ParseFt1StatisticsLine(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\n' || text.front() == '\r'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '\0'))
    text.remove_suffix(1);
  constexpr size_t kTimeWidth = 5;
  if (text.size() != kTimeWidth + kColumnWidth * std::size(Ft1StatisticsLine::kColumns) || text[2] != ':')
    return std::nullopt;
  Ft1StatisticsLine line;
  const auto minutes = Field(text.substr(0, 2));
  const auto seconds = Field(text.substr(3, 2));
  if (!minutes || !seconds) return std::nullopt;
  line.minutes = *minutes;
  line.seconds = *seconds;
  for (size_t i = 0; i < line.counts.size(); ++i) {
    const auto count = Field(text.substr(kTimeWidth + i * kColumnWidth, kColumnWidth));
    if (!count) return std::nullopt;
    line.counts[i] = *count;
  }
  return line;
}

}  // namespace card
