#include "monitor/line/ft1_status_lights.h"

namespace {

constexpr std::string_view kTexts[kFt1TextCount] = {
    "",
    "Self Test of Talvora VR20/VR40 FT-1 unit is in process. An internal test pattern generator runs "
    "a complete diagnostic on the unit. In about 5 seconds the ST light should change to flashing GREEN.",
    "Talvora VR20/VR40 FT-1 unit successfully passed the Self Test. To return to a normal mode push "
    "SELECT button until all of the right four lights are off.",
    "Bi-directional Digital Loop test is selected. The test has failed, which indicates that either "
    "the unit is not connected, or the line is inoperative.",
    "Bi-directional Digital Loop test has been successfully completed. To return to a normal mode push "
    "SELECT button until all of the right four lights are off.",
    "Line Loop test has been selected and is in progress. The INS light should change to steady GREEN.",
    "Line Loop test has been successfully completed. To return to a normal mode push SELECT button "
    "until all of the right four lights are off.",
    "Remote Test has been selected. The local Talvora VR20/VR40 FT-1 unit is awaiting valid response "
    "from remote end. This test can be successfully performed only between two Talvora VR20/VR40 FT-1 "
    "units configured THE SAME WAY.",
    "The valid response has been received from remote end. Remote Test has been successfully "
    "completed. To return to a normal mode push SELECT button until all of the right four lights are off.",
    "Your remote end is currently performing the Remote Test. The RT light will go OFF once the remote "
    "end exits the Remote Test mode.",
    "Talvora VR20/VR40 FT-1 unit is in normal condition. The line is operative.",
    "Talvora VR20/VR40 FT-1 unit is in normal power-up condition. The unit is not connected to remote "
    "end. Press SELECT button to perform the Self Test.",
};

}  // namespace

std::string_view Ft1StatusText(int index) {
  return index > 0 && index < kFt1TextCount ? kTexts[index] : kTexts[0];
}
