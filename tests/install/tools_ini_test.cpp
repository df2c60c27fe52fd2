// The TOOLS.INI edit, byte for byte: only the new driver line and, in ARM sections, the CPU
// lines change; every other byte, line end and letter case stays.
#include "install/tools_ini.h"

#include <gtest/gtest.h>

namespace edumac8::install {
namespace {

constexpr std::string_view kValue = "C:\\Keil\\C51\\BIN\\PVX51.DLL(\"PVX\")";

struct EditCase {
  const char* name;
  std::string before;
  std::string header;
  bool arm;
  std::string target;
  DriverLineResult result;
  std::string after;  // expected file when Added
};

class DriverLineEdits : public ::testing::TestWithParam<EditCase> {};

TEST_P(DriverLineEdits, Edit) {
  const EditCase& c = GetParam();
  const DriverLineEdit edit = AddDriverLine(c.before, c.header, c.arm, c.target, kValue);
  EXPECT_EQ(edit.result, c.result);
  EXPECT_EQ(edit.bytes, c.result == DriverLineResult::Added ? c.after : "");
}

const std::string kNew = "=C:\\Keil\\C51\\BIN\\PVX51.DLL(\"PVX\")";

INSTANTIATE_TEST_SUITE_P(
    Cases, DriverLineEdits,
    ::testing::Values(
        EditCase{"CrLfFile",
                 "[UV2]\r\nX=1\r\n[C51]\r\nPATH=\"C:\\Keil\"\r\nTDRV1=a.dll(\"A\")\r\n"
                 "TDRV2=b.dll(\"B\")\r\n[A51]\r\nTDRV9=x\r\n",
                 "[C51]", false, "PVX51.DLL", DriverLineResult::Added,
                 "[UV2]\r\nX=1\r\n[C51]\r\nPATH=\"C:\\Keil\"\r\nTDRV1=a.dll(\"A\")\r\n"
                 "TDRV2=b.dll(\"B\")\r\nTDRV3" +
                     kNew + "\r\n[A51]\r\nTDRV9=x\r\n"},
        EditCase{"LfFile", "[c51]\nTDRV1=a\n", "[C51]", false, "PVX51.DLL", DriverLineResult::Added,
                 "[c51]\nTDRV1=a\nTDRV2" + kNew + "\n"},
        EditCase{"MixedEndsFollowThePredecessor", "[C51]\r\nTDRV1=a\nTDRV2=b\r\n", "[C51]", false,
                 "PVX51.DLL", DriverLineResult::Added,
                 "[C51]\r\nTDRV1=a\nTDRV2=b\r\nTDRV3" + kNew + "\r\n"},
        EditCase{"NoFinalLineEnd", "[C51]\r\nTDRV1=a", "[C51]", false, "PVX51.DLL",
                 DriverLineResult::Added, "[C51]\r\nTDRV1=a\r\nTDRV2" + kNew},
        EditCase{"NumbersOneAndThreeOneLast", "[C51]\nTDRV3=c\nTDRV1=a\nOTHER=1\n[X]\n", "[C51]",
                 false, "PVX51.DLL", DriverLineResult::Added,
                 "[C51]\nTDRV3=c\nTDRV1=a\nTDRV4" + kNew + "\nOTHER=1\n[X]\n"},
        EditCase{"OnlyDriverZero", "[C51]\nTDRV0=a\n", "[C51]", false, "PVX51.DLL",
                 DriverLineResult::NoDriverNumber, ""},
        EditCase{"NoDriverLine", "[C51]\nPATH=x\n[A51]\nTDRV1=a\n", "[C51]", false, "PVX51.DLL",
                 DriverLineResult::NoDriverNumber, ""},
        EditCase{"NoSection", "[A51]\nTDRV1=a\n", "[C51]", false, "PVX51.DLL",
                 DriverLineResult::NoSection, ""},
        EditCase{"LastCharacterIsNeverADigit", "[C51]\nTDRV1\nTDRV12\n", "[C51]", false, "P.DLL",
                 DriverLineResult::Added, "[C51]\nTDRV1\nTDRV12\nTDRV2" + kNew + "\n"},
        EditCase{"HugeNumberDoesNotWrap", "[C51]\nTDRV99999999999999999999999=a\n", "[C51]", false,
                 "P.DLL", DriverLineResult::Added,
                 "[C51]\nTDRV99999999999999999999999=a\nTDRV18446744073709551615" + kNew + "\n"},
        EditCase{"RegisteredInCapitals", "[C51]\nTDRV1=C:\\Keil\\C51\\BIN\\PVX51.DLL(\"PVX\")\n",
                 "[C51]", false, "PVX51.DLL", DriverLineResult::AlreadyRegistered, ""},
        EditCase{"RegisteredInLowerCase", "[C51]\nTDRV1=C:\\Keil\\C51\\BIN\\PVX51.DLL(\"PVX\")\n",
                 "[C51]", false, "pvx51.dll", DriverLineResult::AlreadyRegistered, ""},
        EditCase{"LongerNameIsAnotherDriver",
                 "[C51]\nTDRV1=C:\\K\\C51\\BIN\\XPVX51.DLL(\"X\")\n"
                 "TDRV2=C:\\K\\C51\\BIN\\PVX51.DLLX(\"X\")\n",
                 "[C51]", false, "PVX51.DLL", DriverLineResult::Added,
                 "[C51]\nTDRV1=C:\\K\\C51\\BIN\\XPVX51.DLL(\"X\")\n"
                 "TDRV2=C:\\K\\C51\\BIN\\PVX51.DLLX(\"X\")\nTDRV3" +
                     kNew + "\n"},
        EditCase{"NameAfterEqualsOrBlank", "[C51]\nTDRV1=PVX51.DLL\nTDRV2 = x\n", "[C51]", false,
                 "PVX51.DLL", DriverLineResult::AlreadyRegistered, ""},
        EditCase{"RegistrationElsewhereDoesNotCount", "[A51]\nTDRV1=PVX51.DLL\n[C51]\nTDRV1=a\n",
                 "[C51]", false, "PVX51.DLL", DriverLineResult::Added,
                 "[A51]\nTDRV1=PVX51.DLL\n[C51]\nTDRV1=a\nTDRV2" + kNew + "\n"},
        EditCase{"ArmCpuLines",
                 "[ARM]\r\nCPUDLL0=X.DLL(TDRV0,TDRV1)\r\nCPUDLL1=Y.DLL()\r\nCPUDLL2=Z.DLL\r\n"
                 "cpudll3=W.DLL(TDRV0)\r\nTDRV0=a\r\nTDRV1=b\r\nCPUDLL4=V.DLL(TDRV0)\r\n",
                 "[ARM]", true, "PVX51.DLL", DriverLineResult::Added,
                 "[ARM]\r\nCPUDLL0=X.DLL(TDRV0,TDRV1,TDRV2)\r\nCPUDLL1=Y.DLL(TDRV2)\r\n"
                 "CPUDLL2=Z.DLL\r\ncpudll3=W.DLL(TDRV0)\r\nTDRV0=a\r\nTDRV1=b\r\nTDRV2" +
                     kNew + "\r\nCPUDLL4=V.DLL(TDRV0)\r\n"},
        EditCase{"ArmHeaderIsAPrefixMatch", "[ARMADS]\nTDRV1=a\n[ARM]\nTDRV5=b\n", "[ARM]", true,
                 "P.DLL", DriverLineResult::Added,
                 "[ARMADS]\nTDRV1=a\n[ARM]\nTDRV5=b\nTDRV6" + kNew + "\n"},
        EditCase{"GbBytesAndLongLinesKept",
                 "[C51]\r\nTDRV1=C:\\\xBF\xC6\\a(\"\xB5\xF7\xCA\xD4\")" + std::string(3000, 'x') +
                     "\r\n",
                 "[C51]", false, "P.DLL", DriverLineResult::Added,
                 "[C51]\r\nTDRV1=C:\\\xBF\xC6\\a(\"\xB5\xF7\xCA\xD4\")" + std::string(3000, 'x') +
                     "\r\nTDRV2" + kNew + "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ToolsIniLines, SplitAndJoinKeepEveryByte) {
  for (const std::string bytes : {"", "a", "a\n", "a\r\n\r\nb", "\r\r\n\n", "x\ry\n"}) {
    EXPECT_EQ(JoinIniLines(SplitIniLines(bytes)), bytes);
  }
  const std::vector<IniLine> lines = SplitIniLines("a\r\nb\nc");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].end, "\r\n");
  EXPECT_EQ(lines[1].end, "\n");
  EXPECT_EQ(lines[2].end, "");
}

}  // namespace
}  // namespace edumac8::install
