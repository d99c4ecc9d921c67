#include "monitor/core/profile_store.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include <filesystem>

#include "platform/replace_file.h"

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// One line of the file with its own line end, so a rewrite keeps it exactly.
struct Line {
  std::string text;  // without the line end
  std::string end;   // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> SplitLines(const std::string& content) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < content.size()) {
    size_t nl = content.find('\n', pos);
    if (nl == std::string::npos) {
      lines.push_back({content.substr(pos), ""});
      break;
    }
    size_t text_end = (nl > pos && content[nl - 1] == '\r') ? nl - 1 : nl;
    lines.push_back({content.substr(pos, text_end - pos), content.substr(text_end, nl + 1 - text_end)});
    pos = nl + 1;
  }
  return lines;
}

std::optional<std::string> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return std::string(Trim(line.substr(1, close - 1)));
}

bool KeyOf(std::string_view line, std::string_view key, std::string_view* value) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  if (!SameName(Trim(line.substr(0, eq)), key)) return false;
  if (value != nullptr) *value = Trim(line.substr(eq + 1));
  return true;
}

bool ReadAll(const std::string& path, std::string* content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *content = ss.str();
  return true;
}

}  // namespace

std::optional<std::string> ProfileFile::read(std::string_view section, std::string_view key) const {
  std::string content;
  if (!ReadAll(path_, &content)) return std::nullopt;
  bool in_section = false, seen_section = false;
  for (const auto& line : SplitLines(content)) {
    if (auto name = SectionName(line.text)) {
      if (seen_section) return std::nullopt;  // only the first such section counts
      in_section = SameName(*name, section);
      seen_section = in_section;
      continue;
    }
    std::string_view value;
    if (in_section && KeyOf(line.text, key, &value)) {
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      return std::string(value);
    }
  }
  return std::nullopt;
}

bool ProfileFile::write(std::string_view section, std::string_view key, std::string_view value) {
  std::string content;
  ReadAll(path_, &content);
  std::vector<Line> lines = SplitLines(content);
  const std::string newline = content.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  const std::string entry = std::string(key) + "=" + std::string(value);

  int section_at = -1, last_in_section = -1;
  bool done = false;
  for (int i = 0; i < static_cast<int>(lines.size()) && !done; ++i) {
    if (auto name = SectionName(lines[i].text)) {
      if (section_at >= 0) break;
      if (SameName(*name, section)) section_at = last_in_section = i;
      continue;
    }
    if (section_at < 0) continue;
    if (KeyOf(lines[i].text, key, nullptr)) {
      lines[i].text = entry;
      done = true;
    } else if (!Trim(lines[i].text).empty()) {
      last_in_section = i;
    }
  }
  auto insertAfter = [&](int at, std::vector<Line> added) {
    if (at >= 0 && lines[at].end.empty()) lines[at].end = newline;
    lines.insert(lines.begin() + (at + 1), added.begin(), added.end());
  };
  if (!done && section_at >= 0) {
    insertAfter(last_in_section, {{entry, newline}});
  } else if (!done) {
    insertAfter(static_cast<int>(lines.size()) - 1,
                {{std::string("[").append(section).append("]"), newline}, {entry, newline}});
  }

  std::string out;
  for (const auto& l : lines) out += l.text + l.end;
  return platform::ReplaceFileContents(path_, out);
}

std::string SettingsPath() {
  if (const char* p = std::getenv("TALVMON_INI"); p != nullptr && *p != '\0') return p;
#ifdef _WIN32
  if (const char* w = std::getenv("WINDIR")) return std::string(w) + "\\talvmon.ini";
  return "talvmon.ini";
#else
  std::string dir;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x != nullptr && *x != '\0') dir = x;
  else if (const char* h = std::getenv("HOME")) dir = std::string(h) + "/.config";
  else dir = ".";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return dir + "/talvmon.ini";
#endif
}

std::optional<long long> ProfileInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
  long long v = 0;
  constexpr long long kCap = 1LL << 40;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    v = std::min(kCap, v * 10 + (text[i] - '0'));
  return negative ? -v : v;
}
