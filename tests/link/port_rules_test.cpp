#include "link/port_rules.h"

#include <gtest/gtest.h>

namespace edumac8 {
namespace {

using namespace std::string_literals;

TEST(PortRules, HardwareIdMatch) {
  const struct {
    std::string ids;
    bool match;
  } cases[] = {
      {"USB\\VID_1A86&PID_FE0C&REV_6611", true},
      {"usb\\vid_1a86&pid_fe0c&rev_6611", true},   // upper-cased first
      {"REV_6611 PID_FE0C VID_1A86", true},        // any order
      {"USB\\VID_1A86&PID_FE0C&REV_6612", false},  // other revision
      {"USB\\VID_1A86&PID_7523&REV_6611", false},
      {"USB\\VID_1A86&PID_FE0C\0USB\\VID_1A86&PID_FE0C&REV_6611"s, false},  // first string only
      {"USB\\VID_1A86&PID_FE0C&REV_6611\0junk"s, true},
      {std::string(255, 'x') + "VID_1A86&PID_FE0C&REV_6611", false},  // past 255 characters
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsBoxHardwareId(c.ids), c.match) << c.ids;
}

TEST(PortRules, ComNumberOfFriendlyName) {
  const struct {
    std::string name;
    std::optional<int> number;
  } cases[] = {
      {"USB-SERIAL CH340 (COM12)", 12},
      {"USB-SERIAL CH340 (COM3)", 3},
      {"COM7", 7},
      {"USB Serial (COM 5)", 5},                     // non-digits passed over
      {"COMMUNICATIONS PORT (COM1)", std::nullopt},  // the first "COM" is in the word
      {"COMabcdefghijk9", std::nullopt},             // ten passed over, then still no digit
      {"COMabcdefghij9", 9},                         // ten passed over
      {"USB-SERIAL (com4)", std::nullopt},           // case-sensitive
      {"USB-SERIAL (COM)", std::nullopt},
      {"Port (COM21) \0(COM1)"s, 21},
  };
  for (const auto& c : cases) EXPECT_EQ(ComNumberOf(c.name), c.number) << c.name;
}

TEST(PortRules, PortNames) {
  EXPECT_EQ(PortNameOf(1), "COM1");
  EXPECT_EQ(PortNameOf(9), "COM9");
  EXPECT_EQ(PortNameOf(10), "\\\\.\\COM10");
  EXPECT_EQ(PortNameOf(10).substr(0, 4), std::string({'\\', '\\', '.', '\\'}));
  EXPECT_EQ(PortNameOf(256), "\\\\.\\COM256");
}

}  // namespace
}  // namespace edumac8
