#pragma once

#include <memory>

#include "driver_if/card_driver.h"

// The real card driver on Windows, the simulator daemon's sockets elsewhere.
std::unique_ptr<CardDriver> MakeDefaultCardDriver();
