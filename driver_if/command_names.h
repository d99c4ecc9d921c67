#pragma once

#include <cstdint>
#include <string>

// Display name of a mailbox command; codes without a table entry get "0x%02x:".
std::string CommandName(uint8_t code);
