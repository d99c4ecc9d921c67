#pragma once
// The local date and time a saved memory dump is stamped with.

#include <string>

struct DumpStamp {
  std::string date;  // "MM/DD/YY"
  std::string time;  // "HH:MM:SS", 24-hour
};

class DumpClock {
 public:
  virtual ~DumpClock() = default;
  virtual DumpStamp now() const = 0;
};

class SystemDumpClock : public DumpClock {
 public:
  DumpStamp now() const override;
};
