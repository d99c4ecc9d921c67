#pragma once
// The command line of talvcard.

#include <span>
#include <string>
#include <vector>

#include "cardsim/card_description.h"

namespace cardsim {

struct DaemonOptions {
  bool help = false;
  std::string directory;        // --dir, else the default device directory
  std::vector<CardDescription> cards;  // --cards FILE and --card LINE, else the demo set
};

// Arguments after the program name.
bool ParseDaemonArguments(std::span<const std::string> args, DaemonOptions* options,
                          std::string* error);

std::string DaemonUsage();

}  // namespace cardsim
