#include "link/port_rules.h"

#include <algorithm>
#include <cctype>

namespace edumac8 {
namespace {

constexpr std::size_t kMaxPropertyChars = 255;
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string FirstPropertyString(std::string_view list) {
  const std::size_t end = std::min({list.find('\0'), list.size(), kMaxPropertyChars});
  return std::string(list.substr(0, end));
}

bool IsBoxHardwareId(std::string_view hardwareIdList) {
  std::string id = FirstPropertyString(hardwareIdList);
  std::transform(id.begin(), id.end(), id.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  for (std::string_view part : {"VID_1A86", "PID_FE0C", "REV_6611"})
    if (id.find(part) == std::string::npos) return false;
  return true;
}

std::optional<int> ComNumberOf(std::string_view friendlyName) {
  const std::string name = FirstPropertyString(friendlyName);
  const std::size_t com = name.find("COM");
  if (com == std::string::npos) return std::nullopt;
  std::size_t i = com + 3;
  for (int skipped = 0; skipped < 10 && i < name.size() && !IsDigit(name[i]); ++skipped) ++i;
  if (i >= name.size() || !IsDigit(name[i])) return std::nullopt;
  long number = 0;
  for (; i < name.size() && name[i] != ')'; ++i) {
    if (!IsDigit(name[i])) break;  // anything else ends the number as well
    number = number * 10 + (name[i] - '0');
    if (number > 0x7FFF) return std::nullopt;  // port numbers are 16-bit signed
  }
  return static_cast<int>(number);
}

std::string PortNameOf(int number) {
  const std::string com = "COM" + std::to_string(number);
  return number < 10 ? com : "\\\\.\\" + com;
}

}  // namespace edumac8
