// The wire format of the box: request frames (0x55, N, command, checksum, N words) and reply
// frames (0xAA, M, command echo, checksum, M words), the parameter words of the command
// groups, and the box information record. Pure functions, shared by the workbench's link and
// the software box.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace edumac8 {

enum BoxCommand : std::uint8_t {
  CMD_INFO = 0x01,
  CMD_RESTART = 0x02,
  CMD_FW_ERASE = 0x13,
  CMD_FW_BLOCK_A = 0x14,
  CMD_FW_BLOCK_B = 0x15,
  CMD_FW_READ = 0x16,
  CMD_FW_MODE = 0x17,
  CMD_CFG_ERASE = 0x21,
  CMD_CFG_BLOCK_A = 0x22,
  CMD_CFG_BLOCK_B = 0x23,
  CMD_CFG_READ = 0x24,
  CMD_RESET = 0x30,
  CMD_STEP = 0x31,
  CMD_READ_STATE = 0x33,
  CMD_READ_EM = 0x34,
  CMD_WRITE_EM = 0x35,
  CMD_WRITE_UM = 0x36,
  CMD_INT_LINE = 0x38,
};

inline constexpr std::uint8_t kRequestStart = 0x55;
inline constexpr std::uint8_t kReplyStart = 0xAA;
inline constexpr int kMaxFrameBytes = 4 + 255 * 4;
inline constexpr int kBlockEntries = 32;  // EM and uM move in blocks of 32
inline constexpr int kStateReplyBytes = 32;
inline constexpr int kBoxInfoBytes = 40;
inline constexpr std::uint32_t kCurrentFirmwareVersion = 0x103;

constexpr int RoundUpTo4(int length) { return (length + 3) & ~3; }

// Bytes 0-3 of a request; the frame is 4 * (n + 1) bytes long.
void PutRequestHeader(std::uint8_t* frame, std::uint8_t n, std::uint8_t command);
// Parameter word of the controller-flash commands: 16-bit address, 16-bit length.
void PutControllerParam(std::uint8_t* word, std::uint16_t address, std::uint16_t length);
// Parameter word of the configuration-flash and machine-memory commands: 24-bit address,
// length low 8 bits (256 goes as 0).
void PutMemoryParam(std::uint8_t* word, std::uint32_t address, int length);
void PutWord(std::uint8_t* word, std::uint32_t value);
std::uint32_t GetWord(const std::uint8_t* word);

// The payload word count M of a reply header that answers `command`, or nothing when the
// header is not such a reply. Bits 6-7 of the echo are not examined but count in the checksum.
std::optional<int> CheckReplyHeader(std::span<const std::uint8_t, 4> header, std::uint8_t command);
void PutReplyHeader(std::uint8_t* frame, std::uint8_t m, std::uint8_t echo);

struct RequestHeader {
  int words = 0;  // N
  std::uint8_t command = 0;
};
// The box's reading of a request header.
std::optional<RequestHeader> CheckRequestHeader(std::span<const std::uint8_t, 4> header);

struct BoxInfo {
  std::uint32_t runState = 0;
  std::uint32_t version = 0;
  std::uint8_t config = 0;      // BoxConfig
  std::uint8_t fpgaMode = 0;    // BoxFpgaMode
  std::uint8_t controller = 0;  // BoxController
};
// The fields the workbench uses, or nothing when the payload is shorter than the record.
std::optional<BoxInfo> ParseBoxInfo(std::span<const std::uint8_t> payload);
void PutBoxInfo(std::span<std::uint8_t, kBoxInfoBytes> payload, const BoxInfo& info);

}  // namespace edumac8
