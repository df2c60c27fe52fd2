#include "link/box_frame.h"

#include <gtest/gtest.h>

#include <vector>

namespace edumac8 {
namespace {

std::vector<std::uint8_t> Header(std::uint8_t n, std::uint8_t command) {
  std::vector<std::uint8_t> h(4);
  PutRequestHeader(h.data(), n, command);
  return h;
}

std::optional<int> Reply(std::vector<std::uint8_t> h, std::uint8_t command) {
  return CheckReplyHeader(std::span<const std::uint8_t, 4>(h.data(), 4), command);
}

TEST(BoxFrame, RequestHeaders) {
  EXPECT_EQ(Header(0, CMD_STEP), (std::vector<std::uint8_t>{0x55, 0x00, 0x31, 0x86}));
  EXPECT_EQ(Header(0, CMD_RESET), (std::vector<std::uint8_t>{0x55, 0x00, 0x30, 0x85}));
  EXPECT_EQ(Header(25, CMD_WRITE_UM), (std::vector<std::uint8_t>{0x55, 0x19, 0x36, 0xA4}));
  EXPECT_EQ(Header(255, CMD_CFG_READ)[3], static_cast<std::uint8_t>(0x55 + 255 + 0x24));
}

TEST(BoxFrame, ReplyHeaders) {
  EXPECT_EQ(Reply({0xAA, 0x00, 0x31, 0xDB}, CMD_STEP), 0);
  EXPECT_EQ(Reply({0xAA, 0x08, 0x33, 0xE5}, CMD_READ_STATE), 8);
  // Bits 6-7 of the echo are ignored, but counted in the checksum.
  EXPECT_EQ(Reply({0xAA, 0x00, 0x71, 0x1B}, CMD_STEP), 0);
  EXPECT_EQ(Reply({0xAA, 0x00, 0xF1, 0x9B}, CMD_STEP), 0);
  EXPECT_EQ(Reply({0xAA, 0x00, 0xF1, 0xDB}, CMD_STEP), std::nullopt);  // checksum without them
  EXPECT_EQ(Reply({0xAB, 0x00, 0x31, 0xDC}, CMD_STEP), std::nullopt);  // start byte
  EXPECT_EQ(Reply({0xAA, 0x00, 0x30, 0xDA}, CMD_STEP), std::nullopt);  // another command
  EXPECT_EQ(Reply({0xAA, 0x00, 0x31, 0xDC}, CMD_STEP), std::nullopt);  // checksum
}

TEST(BoxFrame, ParameterWords) {
  std::uint8_t w[4];
  PutMemoryParam(w, 0x20, 32);
  EXPECT_EQ(std::vector<std::uint8_t>(w, w + 4), (std::vector<std::uint8_t>{0x20, 0, 0, 0x20}));
  PutMemoryParam(w, 0x01FF00, 256);  // 256 goes as 0
  EXPECT_EQ(std::vector<std::uint8_t>(w, w + 4),
            (std::vector<std::uint8_t>{0x00, 0xFF, 0x01, 0x00}));
  PutControllerParam(w, 0x1800, 512);
  EXPECT_EQ(std::vector<std::uint8_t>(w, w + 4),
            (std::vector<std::uint8_t>{0x00, 0x18, 0x00, 0x02}));
  PutControllerParam(w, 0x2000, 5);  // lengths go rounded up to whole words
  EXPECT_EQ(w[2], 8);
}

TEST(BoxFrame, BoxInfoFields) {
  std::vector<std::uint8_t> payload(40, 0);
  payload[0] = 1;
  payload[12] = 0x03;
  payload[13] = 0x01;
  payload[37] = 2;
  payload[38] = 5;
  payload[39] = 7;
  const std::optional<BoxInfo> info = ParseBoxInfo(payload);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->runState, 1u);
  EXPECT_EQ(info->version, 0x103u);
  EXPECT_EQ(info->config, 2);
  EXPECT_EQ(info->fpgaMode, 5);
  EXPECT_EQ(info->controller, 7);
  std::vector<std::uint8_t> written(40, 0xEE);
  PutBoxInfo(std::span<std::uint8_t, 40>(written.data(), 40), *info);
  EXPECT_EQ(written, payload);
  payload.pop_back();
  EXPECT_FALSE(ParseBoxInfo(payload));
}

}  // namespace
}  // namespace edumac8
