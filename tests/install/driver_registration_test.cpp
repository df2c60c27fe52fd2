// Registering debugger drivers into a Keil tree inside a fake Wine prefix, on real files.
#include "install/driver_registration.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "install/install_text.h"
#include "platform/text_codec.h"
#include "support/temp_tree.h"

namespace edumac8::install {
namespace {

using test::TempTree;

const std::string kToolsIni =
    "[UV2]\r\nORGANIZATION=\"Lab\"\r\n"
    "[C51]\r\nPATH=\"C:\\Keil\\C51\\\"\r\nTDRV1=BIN\\MON51.DLL (\"Monitor\")\r\n"
    "[ARM]\r\nCPUDLL0=SARM.DLL(TDRV0,TDRV1)\r\nTDRV0=BIN\\UL2ARM.DLL(\"ULINK\")\r\n"
    "TDRV1=BIN\\JLINK.DLL(\"J-LINK\")\r\n"
    "[KARM]\r\nTDRV3=BIN\\X.DLL(\"X\")";  // the last line has no line end

const std::string kRegistered =
    "[UV2]\r\nORGANIZATION=\"Lab\"\r\n"
    "[C51]\r\nPATH=\"C:\\Keil\\C51\\\"\r\nTDRV1=BIN\\MON51.DLL (\"Monitor\")\r\n"
    "TDRV2=C:\\Keil\\C51\\BIN\\PVX51.DLL(\"PVX Debugger\")\r\n"
    "[ARM]\r\nCPUDLL0=SARM.DLL(TDRV0,TDRV1,TDRV2)\r\nTDRV0=BIN\\UL2ARM.DLL(\"ULINK\")\r\n"
    "TDRV1=BIN\\JLINK.DLL(\"J-LINK\")\r\n"
    "TDRV2=C:\\Keil\\ARM\\BIN\\pvxarm.dll(\"PVX ARM\")\r\n"
    "[KARM]\r\nTDRV3=BIN\\X.DLL(\"X\")\r\n"
    "TDRV4=C:\\Keil\\ARM\\BIN\\pvxarm.dll(\"PVX ARM\")";

struct KeilFixture : ::testing::Test {
  TempTree t;
  KeilLocation keil{t.Path("w/drive_c/Keil"), "C:\\Keil"};

  void SetUp() override {
    t.Write("inst/INSTALL.INI",
            Utf8ToGb2312("KEIL_C51,\"PVX51.DLL\",\"PVX 调试器\",\"PVX Debugger\"\r\n"
                         "KEIL_ARM,\"pvxarm.dll\",\"PVX ARM 调试器\",\"PVX ARM\"\r\n"));
    t.Write("inst/PVX51.DLL", "c51 driver");
    t.Write("inst/pvxarm.dll", "arm driver");
    t.Write("w/drive_c/Keil/TOOLS.INI", kToolsIni);
    t.Write("w/drive_c/Keil/C51/BIN/C51.EXE", "");
    t.Write("w/drive_c/Keil/ARM/BIN/ARM.dll", "");
  }
  InstallMenu Menu(bool chinese = false) const { return LoadInstallMenu(t.Path("inst"), chinese); }
  std::string ToolsIni() const { return t.Read("w/drive_c/Keil/TOOLS.INI").value_or("<none>"); }
  std::string Installed(bool chinese, const std::string& reference) const {
    return reference + "  " + Text(Msg::KeilDriverInstalled, chinese);
  }
  std::string Failed(const std::string& reference) const {
    return std::string(Text(Msg::CannotModifyToolsIni, false)) + " " + reference;
  }
};

TEST_F(KeilFixture, RegistersBothDriversAndCopiesThem) {
  t.Write("w/drive_c/Keil/ARM/BIN/PVXARM.DLL", "old");  // replaced, not doubled
  const DriverInstallReport report = InstallKeilDrivers(Menu(), keil);
  EXPECT_EQ(report.handled, 2);
  EXPECT_EQ(report.failed, 0);
  EXPECT_EQ(report.memo,
            (std::vector<std::string>{Installed(false, "C51: PVX51.DLL(\"PVX Debugger\")"),
                                      Installed(false, "ARM: pvxarm.dll(\"PVX ARM\")")}));
  EXPECT_EQ(ToolsIni(), kRegistered);
  EXPECT_EQ(t.Read("w/drive_c/Keil/C51/BIN/PVX51.DLL"), "c51 driver");
  EXPECT_EQ(t.Read("w/drive_c/Keil/ARM/BIN/PVXARM.DLL"), "arm driver");
  EXPECT_EQ(t.Mode("w/drive_c/Keil/C51/BIN/PVX51.DLL"), 0644u);
  EXPECT_EQ(t.Names("w/drive_c/Keil/ARM/BIN"), (std::vector<std::string>{"ARM.dll", "PVXARM.DLL"}));
  EXPECT_EQ(t.Names("w/drive_c/Keil"), (std::vector<std::string>{"ARM", "C51", "TOOLS.INI"}));
}

TEST_F(KeilFixture, SecondInstallChangesNothingAndCopiesAgain) {
  InstallKeilDrivers(Menu(), keil);
  t.Write("w/drive_c/Keil/C51/BIN/PVX51.DLL", "stale");
  const DriverInstallReport again = InstallKeilDrivers(Menu(), keil);
  EXPECT_EQ(again.failed, 0);
  EXPECT_EQ(ToolsIni(), kRegistered);
  EXPECT_EQ(t.Read("w/drive_c/Keil/C51/BIN/PVX51.DLL"), "c51 driver");
}

TEST_F(KeilFixture, ChineseNamesGoIntoToolsIniAsGb2312) {
  const DriverInstallReport report = InstallKeilDrivers(Menu(true), keil);
  EXPECT_EQ(report.memo[0], Installed(true, "C51: PVX51.DLL(\"PVX 调试器\")"));
  EXPECT_NE(ToolsIni().find("TDRV2=C:\\Keil\\C51\\BIN\\PVX51.DLL(\"" + Utf8ToGb2312("PVX 调试器") +
                            "\")\r\n"),
            std::string::npos);
}

TEST_F(KeilFixture, WindowsPathIsConvertedToGb2312) {
  keil.windowsPath = "D:\\科学\\Keil";
  InstallKeilDrivers(Menu(), keil);
  EXPECT_NE(ToolsIni().find("TDRV2=" + Utf8ToGb2312("D:\\科学\\Keil") + "\\C51\\BIN\\"),
            std::string::npos);
}

TEST_F(KeilFixture, MissingKeilPartsAreSkippedSilently) {
  std::filesystem::remove(t.Path("w/drive_c/Keil/C51/BIN/C51.EXE"));
  const DriverInstallReport report = InstallKeilDrivers(Menu(), keil);
  EXPECT_EQ(report.handled, 1);
  EXPECT_EQ(report.memo.size(), 1u);
  EXPECT_TRUE(report.memo[0].starts_with("ARM: "));

  const DriverInstallReport nothing = InstallKeilDrivers(Menu(), {t.Path("nowhere"), "C:\\X"});
  EXPECT_EQ(nothing.handled, 0);
  EXPECT_TRUE(nothing.memo.empty());
}

TEST_F(KeilFixture, FailedCopyRegistersNothing) {
  t.Mkdir("w/drive_c/Keil/C51/BIN/pvx51.dll");  // a directory where the driver must go
  const DriverInstallReport report = InstallKeilDrivers(Menu(), keil);
  EXPECT_EQ(report.failed, 1);
  EXPECT_EQ(report.memo[0], Failed("PVX51.DLL(\"PVX Debugger\")"));
  EXPECT_EQ(ToolsIni().find("PVX51.DLL(\"PVX"), std::string::npos);
}

TEST_F(KeilFixture, SectionsThatCannotTakeTheDriverFail) {
  t.Write("w/drive_c/Keil/TOOLS.INI", "[C51]\r\nTDRV0=a\r\n[A51]\r\n");
  const DriverInstallReport report = InstallKeilDrivers(Menu(), keil);
  // C51: only driver 0. ARM: no ARM sections at all, which a Keil tree may lack.
  EXPECT_EQ(report.memo[0], Failed("PVX51.DLL(\"PVX Debugger\")"));
  EXPECT_TRUE(report.memo[1].starts_with("ARM: "));
  EXPECT_EQ(ToolsIni(), "[C51]\r\nTDRV0=a\r\n[A51]\r\n");

  std::filesystem::remove(t.Path("w/drive_c/Keil/TOOLS.INI"));
  const DriverInstallReport missing = InstallKeilDrivers(Menu(), keil);
  EXPECT_EQ(missing.failed, 2);
}

TEST_F(KeilFixture, ToolsIniKeepsItsModeAndIsNeverReplacedWhenProtected) {
  for (const char* dir : {"w/drive_c/Keil", "w/drive_c/Keil/C51/BIN", "w/drive_c/Keil/ARM/BIN"})
    chmod(t.Path(dir).c_str(), 0777);
  const std::string tools = t.Path("w/drive_c/Keil/TOOLS.INI");
  const InstallMenu menu = Menu();

  chmod(tools.c_str(), 0444);
  const int protectedFailures =
      test::RunAsOrdinaryUser([&] { return InstallKeilDrivers(menu, keil).failed; });
  EXPECT_EQ(protectedFailures, 2);
  EXPECT_EQ(ToolsIni(), kToolsIni);
  EXPECT_EQ(t.Names("w/drive_c/Keil"), (std::vector<std::string>{"ARM", "C51", "TOOLS.INI"}));

  chmod(tools.c_str(), 0666);
  EXPECT_EQ(test::RunAsOrdinaryUser([&] { return InstallKeilDrivers(menu, keil).failed; }), 0);
  EXPECT_EQ(ToolsIni(), kRegistered);
  EXPECT_EQ(t.Mode("w/drive_c/Keil/TOOLS.INI"), 0666u);
}

TEST_F(KeilFixture, SymlinkedToolsIniIsEditedInPlace) {
  t.Write("shared/tools.ini", kToolsIni);
  std::filesystem::remove(t.Path("w/drive_c/Keil/TOOLS.INI"));
  std::filesystem::create_symlink(t.Path("shared/tools.ini"), t.Path("w/drive_c/Keil/TOOLS.INI"));
  InstallKeilDrivers(Menu(), keil);
  EXPECT_EQ(t.Read("shared/tools.ini"), kRegistered);
  EXPECT_TRUE(std::filesystem::is_symlink(t.Path("w/drive_c/Keil/TOOLS.INI")));
}

}  // namespace
}  // namespace edumac8::install
