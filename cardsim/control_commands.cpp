#include "cardsim/control_commands.h"

#include <charconv>

namespace cardsim {

namespace {

ControlCommands BuildStandard() {
  ControlCommands commands;
  RegisterFaultCommands(commands);
  RegisterStateCommands(commands);
  RegisterFt1Commands(commands);
  RegisterFrontEndCommands(commands);
  RegisterFrameCommands(commands);
  RegisterCableCommands(commands);
  return commands;
}

std::vector<std::string> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.emplace_back(line.substr(start, i - start));
  }
  return words;
}

}  // namespace

const ControlCommands& ControlCommands::Standard() {
  static const ControlCommands commands = BuildStandard();
  return commands;
}

void ControlCommands::add(std::string name, std::string usage, Handler handler) {
  entries_.push_back({std::move(name), std::move(usage), std::move(handler)});
}

CtlReply ControlCommands::run(Simulator& simulator, std::string_view line) const {
  auto words = SplitWords(line);
  if (words.empty()) return CtlError("empty command");
  if (words[0] == "help") {
    std::string text;
    for (const auto& e : entries_) text += (text.empty() ? "" : "; ") + e.usage;
    return CtlOk(text);
  }
  for (const auto& e : entries_)
    if (e.name == words[0]) return e.handler(simulator, Args(words).subspan(1));
  return CtlError("unknown command: " + words[0]);
}

Card* FindCard(Simulator& simulator, const std::string& word) {
  if (auto index = CardIndexOf(word)) return simulator.card(*index);
  uint32_t index = 0;
  if (!ParseCtlNumber(word, kMaxCards - 1, &index)) return nullptr;
  return simulator.card(static_cast<int>(index));
}

bool ParseCtlNumber(const std::string& word, uint32_t max, uint32_t* value) {
  std::string_view text = word;
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  uint32_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v > max)
    return false;
  *value = v;
  return true;
}

CtlReply CtlOk(std::string text) { return {true, std::move(text)}; }
CtlReply CtlError(std::string text) { return {false, std::move(text)}; }

}  // namespace cardsim
