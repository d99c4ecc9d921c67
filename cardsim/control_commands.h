#pragma once
// The daemon's control channel: one text line in, one line out
// ("ok [TEXT]" or "error TEXT"). Tests and `talvcard ctl` use it to switch
// faults and look at card state. Each group of commands registers itself
// in its own file, like the firmware.

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cardsim/simulator.h"

namespace cardsim {

// The control socket beside the card sockets; not a card device name.
inline constexpr std::string_view kControlSocketName = "talvcard.ctl";

struct CtlReply {
  bool ok = false;
  std::string text;
};

class ControlCommands {
 public:
  using Args = std::span<const std::string>;  // the words after the command name
  using Handler = std::function<CtlReply(Simulator&, Args)>;

  // Every group registered (see control_commands.cpp).
  static const ControlCommands& Standard();

  void add(std::string name, std::string usage, Handler handler);
  // "help" lists the usages.
  CtlReply run(Simulator& simulator, std::string_view line) const;

 private:
  struct Entry {
    std::string name;
    std::string usage;
    Handler handler;
  };
  std::vector<Entry> entries_;
};

// Helpers for handlers. A card is named by index or device name.
Card* FindCard(Simulator& simulator, const std::string& word);
// Decimal or 0x hexadecimal, at most max.
bool ParseCtlNumber(const std::string& word, uint32_t max, uint32_t* value);
CtlReply CtlOk(std::string text = {});
CtlReply CtlError(std::string text);

void RegisterFaultCommands(ControlCommands& commands);  // noanswer, rc, delay, refuse, drop, clear
void RegisterStateCommands(ControlCommands& commands);  // cards, state
void RegisterFt1Commands(ControlCommands& commands);    // ft1
void RegisterFrontEndCommands(ControlCommands& commands);  // alarm, alarms, counter, status56k, frontend, memfail
void RegisterFrameCommands(ControlCommands& commands);  // gen, sendfail
void RegisterCableCommands(ControlCommands& commands);  // wire, unwire

}  // namespace cardsim
