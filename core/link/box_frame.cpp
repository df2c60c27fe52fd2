#include "link/box_frame.h"

#include <algorithm>

namespace edumac8 {

void PutRequestHeader(std::uint8_t* frame, std::uint8_t n, std::uint8_t command) {
  frame[0] = kRequestStart;
  frame[1] = n;
  frame[2] = command;
  frame[3] = static_cast<std::uint8_t>(kRequestStart + n + command);
}

void PutControllerParam(std::uint8_t* word, std::uint16_t address, std::uint16_t length) {
  const int rounded = RoundUpTo4(length);
  word[0] = static_cast<std::uint8_t>(address);
  word[1] = static_cast<std::uint8_t>(address >> 8);
  word[2] = static_cast<std::uint8_t>(rounded);
  word[3] = static_cast<std::uint8_t>(rounded >> 8);
}

void PutMemoryParam(std::uint8_t* word, std::uint32_t address, int length) {
  word[0] = static_cast<std::uint8_t>(address);
  word[1] = static_cast<std::uint8_t>(address >> 8);
  word[2] = static_cast<std::uint8_t>(address >> 16);
  word[3] = static_cast<std::uint8_t>(RoundUpTo4(length));
}

void PutWord(std::uint8_t* word, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) word[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetWord(const std::uint8_t* word) {
  return word[0] | word[1] << 8 | word[2] << 16 | static_cast<std::uint32_t>(word[3]) << 24;
}

std::optional<int> CheckReplyHeader(std::span<const std::uint8_t, 4> h, std::uint8_t command) {
  if (h[0] != kReplyStart || (h[2] & 0x3F) != command) return std::nullopt;
  if (static_cast<std::uint8_t>(kReplyStart + h[1] + h[2]) != h[3]) return std::nullopt;
  return h[1];
}

void PutReplyHeader(std::uint8_t* frame, std::uint8_t m, std::uint8_t echo) {
  frame[0] = kReplyStart;
  frame[1] = m;
  frame[2] = echo;
  frame[3] = static_cast<std::uint8_t>(kReplyStart + m + echo);
}

std::optional<RequestHeader> CheckRequestHeader(std::span<const std::uint8_t, 4> h) {
  if (h[0] != kRequestStart) return std::nullopt;
  if (static_cast<std::uint8_t>(kRequestStart + h[1] + h[2]) != h[3]) return std::nullopt;
  return RequestHeader{h[1], h[2]};
}

std::optional<BoxInfo> ParseBoxInfo(std::span<const std::uint8_t> payload) {
  if (payload.size() < kBoxInfoBytes) return std::nullopt;
  BoxInfo info;
  info.runState = GetWord(&payload[0]);
  info.version = GetWord(&payload[12]);
  info.config = payload[37];
  info.fpgaMode = payload[38];
  info.controller = payload[39];
  return info;
}

void PutBoxInfo(std::span<std::uint8_t, kBoxInfoBytes> payload, const BoxInfo& info) {
  std::fill(payload.begin(), payload.end(), 0);
  PutWord(&payload[0], info.runState);
  PutWord(&payload[12], info.version);
  payload[37] = info.config;
  payload[38] = info.fpgaMode;
  payload[39] = info.controller;
}

}  // namespace edumac8
