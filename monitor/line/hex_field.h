#pragma once

#include <cstdint>
#include <string_view>

// Hexadecimal text without prefix to a 32-bit number. It rejects nothing:
// letters beyond F carry into the next digit and other characters count
// with their code shifted, as callers' checks expect.
int32_t ParseHexField(std::string_view text);
