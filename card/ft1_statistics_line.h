#pragma once
// One report line of an FT1 unit's statistics: elapsed time as MM:SS, then
// six counts in fixed four-character columns (ES, BES, SES, UAS, LOFS, ESF),
// which run together once a count has four digits.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace card {

struct Ft1StatisticsLine {
  static constexpr std::string_view kColumns[] = {"es", "bes", "ses", "uas", "lofs", "esf"};

  unsigned minutes = 0;
  unsigned seconds = 0;
  std::array<uint32_t, std::size(kColumns)> counts{};
};

// Leading white space and line breaks are skipped; nullopt for any other shape.
std::optional<Ft1StatisticsLine> ParseFt1StatisticsLine(std::string_view text);

}  // namespace card
