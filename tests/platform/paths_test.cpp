#include "platform/paths.h"

#include <gtest/gtest.h>

namespace edumac8 {
namespace {

TEST(Paths, HomeDirectory) {
  EXPECT_EQ(HomeDirOf("/opt/edumac8/edumac8"), "/opt/edumac8/");
  EXPECT_EQ(HomeDirOf("/opt/edumac8/bin/edumac8"), "/opt/edumac8/");
  EXPECT_EQ(HomeDirOf("/opt/My Lab/BIN/edumac8"), "/opt/My Lab/");
  EXPECT_EQ(HomeDirOf("/opt/cabin/edumac8"), "/opt/cabin/");
}

TEST(Paths, DerivedFilesFollowTheSourceExtensionCase) {
  EXPECT_EQ(DerivedPath("/w/Loop.ASM", ".BIN"), "/w/Loop.BIN");
  EXPECT_EQ(DerivedPath("/w/loop.asm", ".LST"), "/w/loop.lst");
  EXPECT_EQ(DerivedPath("/w.d/loop", ".BIN"), "/w.d/loop.BIN");
  EXPECT_TRUE(HasExtension("a/b.Asm", ".ASM"));
  EXPECT_FALSE(HasExtension("a.asm/b", ".ASM"));
  EXPECT_EQ(FileNameOf("/x/y/Z.ASM"), "Z.ASM");
}

}  // namespace
}  // namespace edumac8
