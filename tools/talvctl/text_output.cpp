#include "tools/talvctl/text_output.h"

#include <cstdio>

namespace talvctl {

namespace {
constexpr size_t kLabelWidth = 32;
}

void Field(std::ostream& out, std::string_view label, std::string_view value) {
  std::string line(label);
  line += ':';
  if (line.size() < kLabelWidth) line.resize(kLabelWidth, ' ');
  else line += ' ';
  out << line << value << '\n';
}

void Field(std::ostream& out, std::string_view label, uint64_t value) { Field(out, label, std::to_string(value)); }

void Flag(std::ostream& out, std::string_view label, bool on) { Field(out, label, on ? "yes" : "no"); }

std::string LabelOf(std::string_view key) {
  std::string label(key);
  for (char& c : label)
    if (c == '_') c = ' ';
  if (!label.empty() && label[0] >= 'a' && label[0] <= 'z') label[0] = static_cast<char>(label[0] - 'a' + 'A');
  return label;
}

std::string Hex(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
  return text;
}

}  // namespace talvctl
