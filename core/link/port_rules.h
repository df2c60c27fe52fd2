// The rules by which the box's serial port is recognised and named. They work on the device
// properties as text, so the same rules serve every way of listing devices.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace edumac8 {

// The first string of a NUL-separated property list, at most 255 characters.
std::string FirstPropertyString(std::string_view list);

// The hardware identifier names the box: it contains VID_1A86, PID_FE0C and REV_6611, in any
// order and letter case. Only the first string of the list is examined.
bool IsBoxHardwareId(std::string_view hardwareIdList);

// The port number a friendly name announces ("USB-SERIAL CH340 (COM12)" gives 12): the digits
// after the first "COM", passing over at most ten other characters first.
std::optional<int> ComNumberOf(std::string_view friendlyName);

// "COM9" below 10, "\\.\COM10" from 10 on.
std::string PortNameOf(int number);

}  // namespace edumac8
