// libFuzzer target: what a box (or anything pretending to be one) can send back. The first
// byte picks the command the reply is checked against; the rest is the reply as it arrives.
// Also feeds the same bytes to the box's request parser, the device-record and port rules, and
// the firmware image checks, all of which read outside data.
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/box_frame.h"
#include "link/device_discovery.h"
#include "link/firmware_image.h"
#include "link/port_rules.h"

namespace edumac8 {
namespace {

void ParseReply(std::uint8_t command, const std::uint8_t* bytes, std::size_t size) {
  if (size < 4) return;
  const std::optional<int> words =
      CheckReplyHeader(std::span<const std::uint8_t, 4>(bytes, 4), command);
  if (!words) return;
  const std::size_t payload = 4 * static_cast<std::size_t>(*words);
  if (size - 4 < payload) return;  // the link would time out here
  const std::span<const std::uint8_t> body(bytes + 4, payload);
  if (command == CMD_INFO) {
    if (const auto info = ParseBoxInfo(body); info && payload < kBoxInfoBytes) __builtin_trap();
  }
}

}  // namespace
}  // namespace edumac8

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace edumac8;
  if (size == 0) return 0;
  ParseReply(data[0] & 0x3F, data + 1, size - 1);
  if (size >= 5) (void)CheckRequestHeader(std::span<const std::uint8_t, 4>(data + 1, 4));

  const std::string text(reinterpret_cast<const char*>(data), size);
  (void)IsBoxHardwareId(text);
  (void)ComNumberOf(text);
  DeviceRecord record;
  if (ParseDeviceRecord(text, record)) (void)FirstBoxPort({record});
  const std::size_t split = data[0] * size / 256;
  (void)CheckFirmwareImages(text.substr(0, split), text.substr(split));
  return 0;
}
