// The menu a lab sees: which entries are offered, from INSTALL.INI and the files beside it.
#include "install/install_menu.h"

#include <gtest/gtest.h>

#include "platform/text_codec.h"
#include "support/temp_tree.h"

namespace edumac8::install {
namespace {

using test::TempTree;

std::vector<std::string> Offered(const InstallMenu& menu) {
  std::vector<std::string> out;
  for (const TInstallEntry& e : menu.Entries) out.push_back(menu.CaptionOf(e));
  return out;
}

TEST(InstallMenu, MissingFileOffersTheUsbEntryOnly) {
  TempTree t;
  const InstallMenu menu = LoadInstallMenu(t.Root(), false);
  EXPECT_EQ(menu.InstallDir, t.Root() + "/");
  EXPECT_EQ(Offered(menu), (std::vector<std::string>{"Install USB Driver"}));
  EXPECT_EQ(menu.Caption(), "EDUMAC8 Setup");
  EXPECT_EQ(LoadInstallMenu(t.Root(), true).Caption(), "EDUMAC8 安装程序");
}

TEST(InstallMenu, EntriesAreOfferedWhenTheirFilesExist) {
  TempTree t;
  t.Write("install.ini",
          Utf8ToGb2312("TITLE,\"\",\"实验系统安装\",\"Lab Setup\"\r\n"
                       "QUOR,\"setup.exe\",\"安装\",\"Setup\"\r\n"
                       "QUOR,\"Missing.exe\",\"缺\",\"Missing\"\r\n"
                       "QUOR,\"Tools\\Manual.PDF\",\"手册\",\"Manual\"\r\n"
                       "QUOR,\"Tools\",\"目录\",\"A directory\"\r\n"
                       "KEIL_C51,\"keil/pvx51.dll\",\"PVX 调试器\",\"PVX debugger\"\r\n"
                       "KEIL_ARM,\"keil\\none.dll\",\"无\",\"none\"\r\n"
                       "KEIL_ARM,\"KEIL\\PVXARM.DLL\",\"ARM 调试器\",\"ARM debugger\"\r\n"));
  t.Write("SETUP.EXE", "x");
  t.Write("tools/manual.pdf", "x");
  t.Write("Keil/PVX51.dll", "x");
  t.Write("Keil/pvxarm.dll", "x");

  const InstallMenu en = LoadInstallMenu(t.Root() + "/", false);
  EXPECT_EQ(en.Ini.ErrorLine, 0);
  EXPECT_EQ(en.Caption(), "Lab Setup");
  EXPECT_EQ(Offered(en), (std::vector<std::string>{"Install USB Driver", "Install KEIL Driver",
                                                   "Setup", "Manual"}));
  ASSERT_EQ(en.KeilList.size(), 2u);
  EXPECT_EQ(en.KeilList[0].Target, "keil/pvx51.dll");
  EXPECT_EQ(en.KeilList[1].Kind, EntryKind::KeilArmDriver);

  const InstallMenu cn = LoadInstallMenu(t.Root(), true);
  EXPECT_EQ(cn.Caption(), "实验系统安装");
  EXPECT_EQ(Offered(cn)[3], "手册");
  EXPECT_EQ(*TargetPath(cn.InstallDir, "TOOLS/MANUAL.pdf"), t.Path("tools/manual.pdf"));
}

TEST(InstallMenu, DebuggerEntryNeedsADriverFile) {
  TempTree t;
  t.Write("INSTALL.INI", "KEIL_C51,\"pvx51.dll\",\"c\",\"e\"\n");
  const InstallMenu menu = LoadInstallMenu(t.Root(), false);
  EXPECT_TRUE(menu.KeilList.empty());
  EXPECT_EQ(Offered(menu), (std::vector<std::string>{"Install USB Driver"}));
}

TEST(InstallMenu, ErrorOffersNothingButKeepsTheTitle) {
  TempTree t;
  t.Write("INSTALL.INI", "TITLE,\"\",\"c\",\"Lab\"\nQUOR,\"a\",\"b\"\n");
  const InstallMenu menu = LoadInstallMenu(t.Root(), false);
  EXPECT_EQ(menu.Ini.ErrorLine, 2);
  EXPECT_TRUE(menu.Entries.empty());
  EXPECT_EQ(menu.Caption(), "Lab");
}

TEST(InstallMenu, NineProgramsAreAllOffered) {
  TempTree t;
  std::string ini;
  for (int i = 1; i <= 9; ++i) {
    ini += "QUOR,\"p" + std::to_string(i) + "\",\"c\",\"P" + std::to_string(i) + "\"\n";
    t.Write("p" + std::to_string(i), "x");
  }
  t.Write("INSTALL.INI", ini);
  EXPECT_EQ(LoadInstallMenu(t.Root(), false).Entries.size(), 10u);  // with the USB entry
}

TEST(InstallMenu, InstallDirAlwaysEndsInASlash) {
  EXPECT_EQ(InstallDirOf("/opt/lab"), "/opt/lab/");
  EXPECT_EQ(InstallDirOf("/opt/lab/"), "/opt/lab/");
  EXPECT_EQ(InstallDirOf(""), "./");
}

}  // namespace
}  // namespace edumac8::install
