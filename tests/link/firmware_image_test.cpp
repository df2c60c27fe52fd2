#include "link/firmware_image.h"

#include <gtest/gtest.h>

#include "link_test_support.h"

namespace edumac8 {
namespace {

TEST(FirmwareImage, MalformedImagesAreRefused) {
  const std::string controller = RandomBytes(kControllerImageBytes, 1);
  const struct {
    const char* what;
    std::string controller;
    std::string config;
    bool accepted;
  } cases[] = {
      {"sound", controller, ConfigImage(3, 1, 2), true},
      {"controller short", controller.substr(1), ConfigImage(3, 1, 2), false},
      {"controller long", controller + "x", ConfigImage(3, 1, 2), false},
      {"no QUOR", controller, "QUOX" + ConfigImage(3, 1, 2).substr(4), false},
      {"P zero", controller, ConfigImage(0, 1, 2).substr(0, 16), false},
      {"E zero", controller, ConfigImage(3, 0, 2), false},
      {"P beyond the file", controller, ConfigImage(3, 1, 2).substr(0, 512), false},
      {"file beyond P", controller, ConfigImage(3, 1, 2) + std::string(256, 0), false},
      {"E sectors too few", controller, ConfigImage(257, 1, 2), false},
      {"E beyond the flash", controller, ConfigImage(3, 257, 2), false},
      {"header only", controller, "QUOR", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CheckFirmwareImages(c.controller, c.config).has_value(), c.accepted) << c.what;
  const auto images = CheckFirmwareImages(controller, ConfigImage(226, 1, 2));
  ASSERT_TRUE(images);
  EXPECT_EQ(images->configPages, 226);
  EXPECT_EQ(images->configSectors, 1);
}

TEST(FirmwareImage, HeaderBlockAndVersionPatch) {
  std::string controller(kControllerImageBytes, '\0');
  controller[0] = '\xFF';       // 0x2000
  controller[0x5FFF] = '\x02';  // 0x7FFF, last application byte
  controller[0x6000] = '\x77';  // 0x8000, upper region: not summed
  auto images = CheckFirmwareImages(controller, ConfigImage(1, 1, 0));
  ASSERT_TRUE(images);
  EXPECT_EQ(ApplicationSum(*images), 0x01);  // 0xFF + 0x02 wraps

  std::uint8_t block[512];
  std::fill(block, block + 512, 0xAB);
  ComposeHeaderBlock(*images, block);
  const std::uint8_t expected[28] = {0x00, 0x20, 0, 0, 0x00, 0x60, 0,    0,    0x01, 0,
                                     0,    0,    0, 0, 0,    0,    0x78, 0x56, 0x34, 0x12,
                                     0x00, 0x01, 0, 0, 0x03, 0x01, 0,    0};
  EXPECT_TRUE(std::equal(expected, expected + 28, block));
  EXPECT_EQ(block[28], 0xAB);
  EXPECT_EQ(block[511], 0xAB);

  PatchVersion(*images);
  EXPECT_EQ(images->controller[0x8104 - 0x2000], 0x03);
  EXPECT_EQ(images->controller[0x8105 - 0x2000], 0x01);
}

}  // namespace
}  // namespace edumac8
