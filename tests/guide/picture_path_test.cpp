// Where a catalogue's picture name leads on a file system that keeps letter case.
#include "guide/picture_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace edumac8 {
namespace {

namespace fs = std::filesystem;

struct PicturePath : ::testing::Test {
  fs::path root = fs::temp_directory_path() / ("jpg_" + std::to_string(getpid()));
  std::string dir = root.string() + "/JPG/";
  void SetUp() override {
    fs::create_directories(root / "JPG" / "Sub" / "deeper");
    for (const char* name :
         {"ALU.JPG", "alu2.jpg", "Sub/Pic.Jpg", "Sub/deeper/x.jpg", "ab.JPG", "AB.JPG"})
      std::ofstream(root / "JPG" / name) << "x";
    std::ofstream(root / "secret.jpg") << "x";
    fs::create_directories(root / "JPG" / "FOLDER.JPG");
  }
  void TearDown() override { fs::remove_all(root); }
};

TEST_F(PicturePath, FindsNamesWrittenInAnyCase) {
  const struct {
    const char* name;
    const char* found;  // relative to the picture directory; null: missing
  } cases[] = {
      {"ALU.JPG", "ALU.JPG"},
      {"ALU2.JPG", "alu2.jpg"},
      {"alu2.jpg", "alu2.jpg"},
      {"SUB\\PIC.JPG", "Sub/Pic.Jpg"},
      {"SUB/PIC.JPG", "Sub/Pic.Jpg"},
      {"sub\\DEEPER\\X.JPG", "Sub/deeper/x.jpg"},
      {".\\ALU.JPG", "ALU.JPG"},
      {"Ab.jpg", "AB.JPG"},  // two matches: the first in byte order
      {"ab.JPG", "ab.JPG"},  // the exact name first
      {"MISSING.JPG", nullptr},
      {"SUB\\MISSING.JPG", nullptr},
      {"ALU.JPG\\X.JPG", nullptr},
      {"FOLDER.JPG", nullptr},  // a directory is no picture
      {"SUB", nullptr},
      {"", nullptr},
      {"..\\SECRET.JPG", nullptr},
      {"../secret.jpg", nullptr},
      {"SUB\\..\\..\\SECRET.JPG", nullptr},
      {"/etc/passwd", nullptr},
      {"\\ALU.JPG", nullptr},
      {"C:\\JPG\\ALU.JPG", nullptr},
  };
  for (const auto& c : cases) {
    const auto found = FindPicture(dir, c.name);
    if (!c.found) {
      EXPECT_FALSE(found) << c.name << " -> " << found.value_or("");
    } else {
      ASSERT_TRUE(found) << c.name;
      EXPECT_EQ(*found, dir + c.found) << c.name;
    }
  }
}

TEST_F(PicturePath, MissingDirectory) {
  EXPECT_FALSE(FindPicture(root.string() + "/NONE/", "ALU.JPG"));
}

}  // namespace
}  // namespace edumac8
