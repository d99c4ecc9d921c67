#include "cardsim/card_description.h"

#include <charconv>
#include <set>

#include "driver_if/device_names.h"

namespace cardsim {

namespace {

constexpr size_t kMaxVersionLength = 31;

// The card line syntax, as talvcard --help shows it.
constexpr std::string_view kSyntax =
    "TALVSTRMn isa [io=N] [mem=N] [irq=N] [OPTIONS]\n"
    "TALVSTRMn pci [bus=N] [slot=N] [cpu=A|B] [port=primary|secondary] [OPTIONS]\n"
    "OPTIONS: t1 | e1 | 56k (front end), ft1 (FT1 unit, no front end),\n"
    "         version=TEXT, configured, baud=N (starts configured at N bps),\n"
    "         plug (a loop-back plug in the connector)\n"
    "Numbers are decimal or 0x hexadecimal; '#' starts a comment.";

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool ParseNumber(std::string_view text, uint32_t* value) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value, base);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

}  // namespace

std::vector<CardDescription> DemoCards() {
  CardDescription isa;
  isa.index = 0;
  isa.hardware.card_type = HardwareInfo::kIsaCard;
  isa.hardware.io_port = 0x360;
  isa.hardware.memory_base = 0xD0000;
  isa.hardware.irq = 10;
  isa.ft1_unit = true;
  isa.loop_back_plug = true;

  auto pci = [](int index, uint32_t slot, uint16_t cpu, uint16_t port, FrontEnd front_end) {
    CardDescription s;
    s.index = index;
    s.hardware.card_type = HardwareInfo::kPciCard;
    s.hardware.bus_number = 0;
    s.hardware.slot_number = slot;
    s.hardware.cpu = cpu;
    s.hardware.comm_port = port;
    s.front_end = front_end;
    return s;
  };
  return {isa, pci(1, 9, 0, 0, FrontEnd::kT1), pci(2, 10, 1, 1, FrontEnd::kE1),
          pci(3, 11, 0, 0, FrontEnd::k56K)};
}

bool ParseCardLine(std::string_view line, CardDescription* description, std::string* error) {
  auto words = Words(line);
  if (words.size() < 2) return Fail(error, "expected a device name and isa or pci");
  auto index = CardIndexOf(words[0]);
  if (!index) return Fail(error, "not a card device name: " + std::string(words[0]));

  CardDescription s;
  s.index = *index;
  bool isa = words[1] == "isa";
  if (!isa && words[1] != "pci") return Fail(error, "expected isa or pci: " + std::string(words[1]));
  s.hardware.card_type = isa ? HardwareInfo::kIsaCard : HardwareInfo::kPciCard;

  for (size_t i = 2; i < words.size(); ++i) {
    std::string_view word = words[i];
    size_t eq = word.find('=');
    std::string_view key = word.substr(0, eq);
    std::string_view value = eq == std::string_view::npos ? std::string_view{} : word.substr(eq + 1);
    bool has_value = eq != std::string_view::npos;
    uint32_t number = 0;
    auto numeric = [&](uint32_t* field, uint32_t max) {
      if (!ParseNumber(value, &number) || number > max) return false;
      *field = number;
      return true;
    };
    auto numeric16 = [&](uint16_t* field, std::string_view zero, std::string_view one) {
      if (value != zero && value != one) return false;
      *field = value == zero ? 0 : 1;
      return true;
    };
    bool ok;
    if (!has_value && (key == "t1" || key == "e1" || key == "56k")) {
      s.front_end = key == "t1" ? FrontEnd::kT1 : key == "e1" ? FrontEnd::kE1 : FrontEnd::k56K;
      ok = true;
    } else if (!has_value && key == "ft1") {
      ok = s.ft1_unit = true;
    } else if (!has_value && key == "plug") {
      ok = s.loop_back_plug = true;
    } else if (!has_value && key == "configured") {
      if (!s.initial_config) s.initial_config = StreamingConfig{};
      ok = true;
    } else if (has_value && key == "baud") {
      if (!s.initial_config) s.initial_config = StreamingConfig{};
      ok = numeric(&s.initial_config->baud_rate, UINT32_MAX);
    } else if (has_value && key == "version") {
      ok = !value.empty() && value.size() <= kMaxVersionLength;
      s.code_version = value;
    } else if (has_value && isa && key == "io") {
      ok = numeric(&s.hardware.io_port, UINT32_MAX);
    } else if (has_value && isa && key == "mem") {
      ok = numeric(&s.hardware.memory_base, UINT32_MAX);
    } else if (has_value && isa && key == "irq") {
      ok = numeric(&s.hardware.irq, UINT32_MAX);
    } else if (has_value && !isa && key == "bus") {
      ok = numeric(&s.hardware.bus_number, UINT32_MAX);
    } else if (has_value && !isa && key == "slot") {
      ok = numeric(&s.hardware.slot_number, UINT32_MAX);
    } else if (has_value && !isa && key == "cpu") {
      ok = numeric16(&s.hardware.cpu, "A", "B");
    } else if (has_value && !isa && key == "port") {
      ok = numeric16(&s.hardware.comm_port, "primary", "secondary");
    } else {
      return Fail(error, "unknown option for a " + std::string(words[1]) + " card: " +
                             std::string(word));
    }
    if (!ok) return Fail(error, "bad value: " + std::string(word));
  }
  if (s.ft1_unit && s.front_end != FrontEnd::kNone)
    return Fail(error, "an FT1 unit needs a card without front end");
  *description = std::move(s);
  return true;
}

bool ParseCardFile(std::string_view text, std::vector<CardDescription>* cards, std::string* error) {
  std::vector<CardDescription> parsed;
  int number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++number;
    line = line.substr(0, line.find('#'));
    if (Words(line).empty()) continue;
    CardDescription description;
    std::string why;
    if (!ParseCardLine(line, &description, &why))
      return Fail(error, "line " + std::to_string(number) + ": " + why);
    parsed.push_back(std::move(description));
  }
  *cards = std::move(parsed);
  return true;
}

bool CheckCardSet(const std::vector<CardDescription>& cards, std::string* error) {
  if (cards.empty()) return Fail(error, "no cards");
  std::set<int> seen;
  for (const auto& card : cards)
    if (!seen.insert(card.index).second)
      return Fail(error, CardDeviceName(card.index) + " is given twice");
  return true;
}

std::string_view CardLineSyntax() { return kSyntax; }

}  // namespace cardsim
