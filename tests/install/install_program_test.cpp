// edumac8-install's subcommands as a lab's set-up script uses them: exact output, exit codes,
// no display, files on a temporary tree with a fake Wine prefix.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>

#include "install/udev_rule.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "support/temp_tree.h"

namespace edumac8 {
namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

struct InstallProgram : ::testing::Test {
  test::TempTree t;

  // Runs the program without a display, in English unless `env` says otherwise.
  Result Run(const std::string& args, const std::string& env = "") const {
    const std::string errFile = t.Path("stderr.txt");
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u LC_ALL "
        "-u LC_MESSAGES -u WINEPREFIX LANG=C.UTF-8 HOME=" +
        t.Path("home") + " " + env + " " + EDUMAC8_INSTALL + " " + args + " 2>" + errFile;
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buffer;
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
      out.append(buffer.data(), n);
    const int status = pclose(pipe);
    return {WEXITSTATUS(status), out, ReadWholeFile(errFile).value_or("")};
  }

  void KeilTree(const std::string& prefix) {
    t.Mkdir(prefix + "/drive_c");
    t.Link("../drive_c", prefix + "/dosdevices/c:");
    t.Write(prefix + "/drive_c/Keil/TOOLS.INI", "[C51]\r\nTDRV1=BIN\\MON51.DLL(\"M\")\r\n");
    t.Write(prefix + "/drive_c/Keil/C51/BIN/C51.EXE", "");
  }
  void Lab() {
    t.Write("lab/INSTALL.INI",
            Utf8ToGb2312("TITLE,\"\",\"实验室安装\",\"Lab Setup\"\r\n"
                         "QUOR,\"Tools\\Setup.sh\",\"安装工具\",\"Install Tools\"\r\n"
                         "KEIL_C51,\"pvx51.dll\",\"PVX 调试器\",\"PVX Debugger\"\r\n"
                         "KEIL_ARM,\"missing.dll\",\"无\",\"None\"\r\n"));
    t.Write("lab/tools/setup.sh", "");
    t.Write("lab/PVX51.DLL", "driver");
  }
};

TEST_F(InstallProgram, MenuListsButtonsAndDrivers) {
  Lab();
  const Result en = Run("menu --dir " + t.Path("lab"));
  EXPECT_EQ(en.status, 0);
  EXPECT_EQ(en.out,
            "TITLE\tLab Setup\n"
            "CMD1\tUSB\tInstall USB Driver\n"
            "CMD2\tKEIL\tInstall KEIL Driver\n"
            "CMD3\tOPEN\tInstall Tools\tTools\\Setup.sh\n"
            "DRIVER\tC51\tpvx51.dll\tPVX Debugger\n");
  const Result cn = Run("menu --dir=" + t.Path("lab"), "LANG=zh_SG.UTF-8");
  EXPECT_EQ(cn.out,
            "TITLE\t实验室安装\n"
            "CMD1\tUSB\t安装 USB 驱动\n"
            "CMD2\tKEIL\t安装 KEIL 驱动\n"
            "CMD3\tOPEN\t安装工具\tTools\\Setup.sh\n"
            "DRIVER\tC51\tpvx51.dll\tPVX 调试器\n");
}

TEST_F(InstallProgram, MenuShowsAtMostEightButtons) {
  std::string ini;
  for (int i = 1; i <= 9; ++i) {
    ini += "QUOR,\"p" + std::to_string(i) + "\",\"c\",\"P" + std::to_string(i) + "\"\n";
    t.Write("lab/p" + std::to_string(i), "");
  }
  t.Write("lab/INSTALL.INI", ini);
  const Result r = Run("menu --dir " + t.Path("lab"));
  EXPECT_NE(r.out.find("CMD8\tOPEN\tP7\tp7\n"), std::string::npos);
  EXPECT_EQ(r.out.find("CMD9"), std::string::npos);
}

TEST_F(InstallProgram, MenuReportsABrokenIni) {
  t.Write("lab/INSTALL.INI", "TITLE,\"\",\"c\",\"Lab\"\n; note\nQUOR,\"a\",\"b\"\n");
  const Result r = Run("menu --dir " + t.Path("lab"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "TITLE\tLab\n");
  EXPECT_EQ(r.err, "INSTALL.INI Error (Line: 2)\n");
}

TEST_F(InstallProgram, UsageErrorsExitTwo) {
  for (const char* args : {"frobnicate", "--bogus", "menu extra", "menu --dir",
                           "register-debugger --windows-path C:\\K", "patch-inf", "patch-inf a b",
                           "udev-rule --rules-dir /tmp", "udev-rule x"}) {
    const Result r = Run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << args;
  }
}

TEST_F(InstallProgram, RegisterDebuggerIntoTheDetectedKeil) {
  Lab();
  KeilTree("home/.wine");
  const Result r = Run("register-debugger --dir " + t.Path("lab"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "C51: pvx51.dll(\"PVX Debugger\")  KEIL Driver installed\n"
            "Please select PVX driver in Keil/Option/Debug\n\n");
  EXPECT_EQ(t.Read("home/.wine/drive_c/Keil/TOOLS.INI"),
            "[C51]\r\nTDRV1=BIN\\MON51.DLL(\"M\")\r\n"
            "TDRV2=C:\\Keil\\C51\\BIN\\pvx51.dll(\"PVX Debugger\")\r\n");
  EXPECT_EQ(t.Read("home/.wine/drive_c/Keil/C51/BIN/pvx51.dll"), "driver");
}

TEST_F(InstallProgram, RegisterDebuggerPrefersWinePrefix) {
  Lab();
  KeilTree("home/.wine");
  KeilTree("lab-prefix");
  const Result r = Run("register-debugger --dir " + t.Path("lab"),
                       "LANG=zh_CN.UTF-8 WINEPREFIX=" + t.Path("lab-prefix"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "C51: pvx51.dll(\"PVX 调试器\")  KEIL 驱动已安装成功\n"
            "请在KEIL软件中选择相应的 PVX 驱动程序\"\n\n");
  EXPECT_NE(t.Read("lab-prefix/drive_c/Keil/TOOLS.INI")->find("TDRV2"), std::string::npos);
  EXPECT_EQ(t.Read("home/.wine/drive_c/Keil/TOOLS.INI")->find("TDRV2"), std::string::npos);
}

TEST_F(InstallProgram, RegisterDebuggerIntoAGivenKeil) {
  Lab();
  t.Write("keil/TOOLS.INI", "[C51]\nTDRV3=X\n");
  t.Write("keil/c51/bin/c51.exe", "");
  const Result r = Run("register-debugger --dir " + t.Path("lab") + " --keil '" + t.Path("keil") +
                       "/ ' --windows-path 'D:\\Keil'");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(t.Read("keil/TOOLS.INI"),
            "[C51]\nTDRV3=X\nTDRV4=D:\\Keil\\C51\\BIN\\pvx51.dll(\"PVX "
            "Debugger\")\n");
  // Outside any Wine prefix the directory is reached through Z:.
  t.Write("keil/TOOLS.INI", "[C51]\nTDRV3=X\n");
  EXPECT_EQ(Run("register-debugger --dir " + t.Path("lab") + " --keil " + t.Path("keil")).status,
            0);
  std::string unixPath = t.Path("keil");
  for (char& c : unixPath) c = c == '/' ? '\\' : c;
  EXPECT_EQ(t.Read("keil/TOOLS.INI"),
            "[C51]\nTDRV3=X\nTDRV4=Z:" + unixPath + "\\C51\\BIN\\pvx51.dll(\"PVX Debugger\")\n");
}

TEST_F(InstallProgram, RegisterDebuggerFailures) {
  Lab();
  const Result noKeil = Run("register-debugger --dir " + t.Path("lab"));
  EXPECT_EQ(noKeil.status, 1);
  EXPECT_EQ(noKeil.out, "");
  EXPECT_EQ(noKeil.err, "Install Keil software first\n");

  KeilTree("home/.wine");
  t.Write("home/.wine/drive_c/Keil/TOOLS.INI", "[A51]\r\n");
  const Result noSection = Run("register-debugger --dir " + t.Path("lab"));
  EXPECT_EQ(noSection.status, 1);
  EXPECT_EQ(noSection.out,
            "Can not modify KEIL\\TOOLS.INI, Install Driver failed pvx51.dll(\"PVX Debugger\")\n");

  t.Write("lab/INSTALL.INI", "KEIL_C51,\"x\"\n");
  const Result broken = Run("register-debugger --dir " + t.Path("lab"));
  EXPECT_EQ(broken.status, 1);
  EXPECT_EQ(broken.err, "INSTALL.INI Error (Line: 1)\n");
  EXPECT_EQ(t.Read("home/.wine/drive_c/Keil/TOOLS.INI"), "[A51]\r\n");

  // Nothing to register (no driver entry with a Keil part) is no success.
  t.Write("lab/INSTALL.INI", "");
  EXPECT_EQ(Run("register-debugger --dir " + t.Path("lab")).status, 1);
}

TEST_F(InstallProgram, PatchInf) {
  std::string header;
  for (char c : std::string_view("[FakeModemCopyFileSection]\r\nx")) header += {c, '\0'};
  t.Write("mdmcpq.inf", header);
  const Result ok = Run("patch-inf " + t.Path("mdmcpq.inf"));
  EXPECT_EQ(ok.status, 0);
  EXPECT_EQ(ok.out, "mdmcpq.inf updated\n");
  EXPECT_EQ(t.Read("mdmcpq.inf")->size(), header.size() + 2);
  const Result missing = Run("patch-inf " + t.Path("none.inf"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "mdmcpq.inf not updated\n");
}

TEST_F(InstallProgram, UdevRule) {
  const Result shown = Run("udev-rule");
  EXPECT_EQ(shown.status, 0);
  EXPECT_EQ(shown.out, install::kUdevRule);

  t.Mkdir("rules");
  const Result installed = Run("udev-rule --install --rules-dir " + t.Path("rules"));
  EXPECT_EQ(installed.status, 0);
  EXPECT_EQ(installed.out, t.Path("rules/70-edumac8-box.rules") + "\n");
  EXPECT_EQ(t.Read("rules/70-edumac8-box.rules"), install::kUdevRule);
  EXPECT_EQ(installed.err, "");  // udevadm runs only for the system's directory

  const Result refused = Run("udev-rule --install --rules-dir " + t.Path("no/such/dir"));
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find(t.Path("no/such/dir/70-edumac8-box.rules")), std::string::npos);
}

}  // namespace
}  // namespace edumac8
