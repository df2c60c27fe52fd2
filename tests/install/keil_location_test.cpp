// Finding Keil in Wine prefixes and naming its directory as Keil does.
#include "install/keil_location.h"

#include <gtest/gtest.h>

#include "support/temp_tree.h"

namespace edumac8::install {
namespace {

using test::TempTree;

// A Wine prefix as wine makes it: drive_c, dosdevices/c: -> ../drive_c, z: -> /.
void MakePrefix(const TempTree& t, const std::string& prefix) {
  t.Mkdir(prefix + "/drive_c");
  t.Link("../drive_c", prefix + "/dosdevices/c:");
  t.Link("/", prefix + "/dosdevices/z:");
}

TEST(WinePrefixes, WinePrefixFirstThenHome) {
  using V = std::vector<std::string>;
  EXPECT_EQ(WinePrefixes("/p/", "/home/u"), (V{"/p", "/home/u/.wine"}));
  EXPECT_EQ(WinePrefixes(nullptr, "/home/u/"), (V{"/home/u/.wine"}));
  EXPECT_EQ(WinePrefixes("", "/home/u"), (V{"/home/u/.wine"}));
  EXPECT_EQ(WinePrefixes("/home/u/.wine", "/home/u"), (V{"/home/u/.wine"}));
  EXPECT_EQ(WinePrefixes(nullptr, nullptr), V{});
}

TEST(WineDrives, LettersInOrderWithRealTargets) {
  TempTree t;
  MakePrefix(t, "w");
  t.Mkdir("data");
  t.Link(t.Path("data"), "w/dosdevices/d:");
  t.Link(t.Path("gone"), "w/dosdevices/e:");  // dangling: no drive
  const std::vector<WineDrive> drives = WineDrives(t.Path("w"));
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[0].letter, 'c');
  EXPECT_EQ(drives[0].target, t.Path("w/drive_c"));
  EXPECT_EQ(drives[1].letter, 'd');
  EXPECT_EQ(drives[2].target, "/");
}

TEST(DetectKeil, FirstDriveHoldingToolsIniInPrefixOrder) {
  TempTree t;
  MakePrefix(t, "home/.wine");
  MakePrefix(t, "lab");
  t.Write("home/.wine/drive_c/Keil/TOOLS.INI", "");
  EXPECT_EQ(DetectKeil({t.Path("lab"), t.Path("home/.wine")})->windowsPath, "C:\\Keil");

  t.Mkdir("d");
  t.Link(t.Path("d"), "lab/dosdevices/d:");
  t.Write("d/keil/tools.ini", "");
  t.Mkdir("lab/drive_c/KEIL");  // no TOOLS.INI: not Keil
  const std::optional<KeilLocation> keil = DetectKeil({t.Path("lab"), t.Path("home/.wine")});
  ASSERT_TRUE(keil);
  EXPECT_EQ(keil->path, t.Path("d/keil"));
  EXPECT_EQ(keil->windowsPath, "D:\\keil");
  EXPECT_FALSE(DetectKeil({t.Path("nowhere")}));
}

TEST(WindowsPathOf, DriveOfTheNearestPrefix) {
  TempTree t;
  MakePrefix(t, "w");
  t.Write("w/drive_c/Keil v5/TOOLS.INI", "");
  t.Mkdir("w/drive_c/Keil v5/sub");
  t.Link(t.Path("w/drive_c/Keil v5"), "w/dosdevices/k:");
  t.Link(t.Path("w/drive_c"), "w/dosdevices/y:");  // same target as c:, later letter
  t.Mkdir("elsewhere/keil");
  MakePrefix(t, "other");
  t.Mkdir("other/drive_c/Keil");

  const std::vector<std::string> none;
  struct Case {
    std::string path;
    std::vector<std::string> fallbacks;
    std::string windows;
  } cases[] = {
      {t.Path("w/drive_c/Keil v5/sub"), none, "K:\\sub"},  // the longest target wins
      {t.Path("w/dosdevices/c:/Keil v5/"), none, "K:"},
      {t.Path("w/drive_c"), none, "C:"},  // c: before y:
      {t.Path("other/drive_c/Keil"), {t.Path("w")}, "C:\\Keil"},
      {t.Path("elsewhere/keil"), {t.Path("missing"), t.Path("w")}, "Z:" + t.Path("elsewhere/keil")},
      {t.Path("elsewhere/keil"), none, "Z:" + t.Path("elsewhere/keil")},
  };
  for (const Case& c : cases) {
    std::string expected = c.windows;
    for (char& ch : expected) ch = ch == '/' ? '\\' : ch;
    EXPECT_EQ(WindowsPathOf(c.path, c.fallbacks), expected) << c.path;
  }
}

TEST(TrimKeilDir, TrailingBlanksAndSlashesCut) {
  EXPECT_EQ(TrimKeilDir("/opt/Keil/ \t"), "/opt/Keil");
  EXPECT_EQ(TrimKeilDir("/opt/Keil//"), "/opt/Keil");
  EXPECT_EQ(TrimKeilDir("/"), "/");
  EXPECT_EQ(TrimKeilDir("keil"), "keil");
}

}  // namespace
}  // namespace edumac8::install
