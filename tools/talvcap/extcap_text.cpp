#include "tools/talvcap/extcap_text.h"

#include "card/capture/capture_writer.h"
#include "driver_if/mailbox.h"

namespace talvcap {
namespace {

std::string FrontEndName(const card::ServiceUnit& unit) {
  switch (unit.front_end_type) {
    case kFrontEndT1: return ", T1";
    case kFrontEndE1: return ", E1";
    case kFrontEnd56K: return ", 56K";
    default: return unit.ft1_present ? ", FT1" : "";
  }
}

}  // namespace

std::string ExtcapInterfaces(std::span<const card::PresentDevice> devices) {
  std::string text = std::string("extcap {version=") + kVersion + "}{help=talvcap --help}\n";
  for (const card::PresentDevice& d : devices) {
    text += "interface {value=" + d.name + "}{display=Talvlink " + std::string(card::CardTypeName(d.hardware.card_type)) +
            " card" + FrontEndName(d.unit) + " (" + d.name + ")}\n";
  }
  return text;
}

std::string ExtcapLinkTypes() {
  return "dlt {number=" + std::to_string(capture::kLinkTypeChdlc) + "}{name=C_HDLC}{display=Cisco HDLC}\n";
}

std::string ExtcapConfig() {
  return "arg {number=0}{call=--enable-comms}{display=Enable communications}"
         "{tooltip=Enable communications if they are off and disable them again when the capture ends}"
         "{type=boolflag}{default=false}\n"
         "arg {number=1}{call=--check-bytes}{display=Include check bytes}"
         "{tooltip=Keep the two check bytes at the end of each frame}{type=boolflag}{default=false}\n"
         "arg {number=2}{call=--count}{display=Stop after (frames)}"
         "{tooltip=Stop the capture after this many frames; 0 captures until stopped}"
         "{type=unsigned}{default=0}\n";
}

}  // namespace talvcap
