#include "cardsim/daemon_options.h"

#include <fstream>
#include <sstream>

#include "driver_if/socket_driver.h"

namespace cardsim {

namespace {

bool Fail(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
  return false;
}

bool ReadCardFile(const std::string& path, std::vector<CardDescription>* cards, std::string* error) {
  std::ifstream file(path);
  if (!file) return Fail(error, "cannot read " + path);
  std::stringstream text;
  text << file.rdbuf();
  std::vector<CardDescription> parsed;
  std::string why;
  if (!ParseCardFile(text.str(), &parsed, &why)) return Fail(error, path + ": " + why);
  cards->insert(cards->end(), parsed.begin(), parsed.end());
  return true;
}

}  // namespace

bool ParseDaemonArguments(std::span<const std::string> args, DaemonOptions* options,
                          std::string* error) {
  DaemonOptions o;
  bool chose_cards = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool has_value = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--dir" && has_value) {
      o.directory = args[++i];
    } else if (arg == "--cards" && has_value) {
      chose_cards = true;
      if (!ReadCardFile(args[++i], &o.cards, error)) return false;
    } else if (arg == "--card" && has_value) {
      chose_cards = true;
      CardDescription description;
      std::string why;
      if (!ParseCardLine(args[++i], &description, &why)) return Fail(error, "--card: " + why);
      o.cards.push_back(std::move(description));
    } else {
      return Fail(error, "unknown or incomplete option: " + arg);
    }
  }
  if (o.directory.empty()) o.directory = DefaultDeviceDirectory();
  if (!chose_cards) o.cards = DemoCards();
  if (!o.help && !CheckCardSet(o.cards, error)) return false;
  *options = std::move(o);
  return true;
}

std::string DaemonUsage() {
  return "usage: talvcard [--dir DIR] [--cards FILE] [--card LINE]...\n"
         "       talvcard ctl [--dir DIR] COMMAND [ARG]...\n"
         "\n"
         "Serves simulated cards as the sockets DIR/TALVSTRMn (default DIR: $TALVSTRM_DIR,\n"
         "else $XDG_RUNTIME_DIR/talvstrm, else /tmp/talvstrm-<uid>). Without --cards or\n"
         "--card it serves the demo set:\n"
         "  TALVSTRM0 isa io=0x360 mem=0xD0000 irq=10 ft1\n"
         "  TALVSTRM1 pci bus=0 slot=9 cpu=A port=primary t1\n"
         "  TALVSTRM2 pci bus=0 slot=10 cpu=B port=secondary e1\n"
         "  TALVSTRM3 pci bus=0 slot=11 cpu=A port=primary 56k\n"
         "\n"
         "A card file holds one card line per line; --card gives one on the command line:\n" +
         std::string(CardLineSyntax()) +
         "\n\n"
         "`talvcard ctl help` lists the control commands of a running daemon.\n";
}

}  // namespace cardsim
