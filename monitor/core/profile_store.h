#pragma once
// A settings file with private-profile semantics: "[Section]" lines followed
// by "key=value" lines. Reads look the key up afresh; a write changes only
// its own key and keeps every other line, comment and line end as it was.

#include <optional>
#include <string>
#include <string_view>

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The value of the first matching key of the first matching section
  // (names compared without regard to case), or nothing when missing.
  virtual std::optional<std::string> read(std::string_view section, std::string_view key) const = 0;
  virtual bool write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

class ProfileFile : public ProfileStore {
 public:
  explicit ProfileFile(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> read(std::string_view section, std::string_view key) const override;
  bool write(std::string_view section, std::string_view key, std::string_view value) override;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Where "talvmon.ini" lives: $TALVMON_INI when set, else
// $XDG_CONFIG_HOME/talvmon.ini, else ~/.config/talvmon.ini (the Windows
// directory on Windows).
std::string SettingsPath();

// The integer a profile value starts with: leading blanks, an optional sign,
// decimal digits; saturates far outside 32 bits. Nothing when no digit leads.
std::optional<long long> ProfileInteger(std::string_view text);
