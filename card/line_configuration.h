#pragma once
// The line parameters of an integrated T1 or E1 front end, sent with
// IOCTL_TE_CONFIG before the CHDLC parameters, and what their values mean.

#include <cstdint>
#include <span>
#include <string_view>

#include "driver_if/card_driver.h"
#include "driver_if/records.h"

namespace card {

// IOCTL_TE_CONFIG's verdicts in TECardConfig::result.
inline constexpr uint8_t kTeConfigAccepted = 0;
inline constexpr uint8_t kTeConfigCommunicationsEnabled = 2;  // disable communications first
inline constexpr uint8_t kTeConfigWrongMedia = 3;             // the card has no such front end
// Never a verdict: what a request the driver did not complete leaves.
inline constexpr uint8_t kTeConfigNoVerdict = 0xFF;

inline bool IsTe1Media(uint8_t media_type) { return media_type == kMediaT1 || media_type == kMediaE1; }

// Sends te's line parameters and returns the verdict (also left in te.result).
uint8_t ConfigureLine(DeviceHandle* handle, TECardConfig& te);

// A parameter's value as the card stores it and its name as users read it.
struct NamedValue {
  std::string_view name;
  uint8_t value;
};
inline constexpr NamedValue kMediaTypes[] = {{"Serial/FT1", kMediaSerial}, {"T1", kMediaT1}, {"E1", kMediaE1}, {"56K", kMedia56K}};
inline constexpr NamedValue kInterfaces[] = {{"V.35", 0}, {"RS-232", 1}};
inline constexpr NamedValue kT1Framings[] = {{"ESF", 1}, {"D4", 2}, {"ESF Japan", 3}};
inline constexpr NamedValue kE1Framings[] = {{"CRC4", 4}, {"non-CRC4", 5}};
inline constexpr NamedValue kT1LineDecodings[] = {{"AMI", 1}, {"B8ZS", 2}};
inline constexpr NamedValue kE1LineDecodings[] = {{"AMI", 1}, {"HDB3", 2}};
inline constexpr NamedValue kT1LineBuildOuts[] = {
    {"0dB", 1},       {"7.5dB", 2},     {"15dB", 3},      {"22.5dB", 4},     {"110-220ft", 5},
    {"220-330ft", 6}, {"330-440ft", 7}, {"440-550ft", 8}, {"550-660ft", 9}};
inline constexpr NamedValue kClockings[] = {{"Normal", 1}, {"Master", 2}};

// The name of value in table, or empty.
std::string_view NameOf(std::span<const NamedValue> table, uint8_t value);

}  // namespace card
