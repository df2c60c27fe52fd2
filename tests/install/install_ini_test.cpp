// INSTALL.INI as a lab's file may be written: every line form, the error line numbers, the
// table's bound and the language rule.
#include "install/install_ini.h"

#include <gtest/gtest.h>

#include "install/install_text.h"
#include "platform/text_codec.h"

namespace edumac8::install {
namespace {

// Kind and target of every entry, "3:SETUP.EXE", for compact expectations.
std::vector<std::string> Summary(const InstallIni& ini) {
  std::vector<std::string> out;
  for (const TInstallEntry& e : ini.Entries)
    out.push_back(std::to_string(static_cast<int>(e.Kind)) + ":" + e.Target);
  return out;
}

using Entries = std::vector<std::string>;
const Entries kBuiltIns = {"1:", "2:"};
Entries WithBuiltIns(Entries more) {
  Entries all = kBuiltIns;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

struct IniCase {
  const char* name;
  std::string file;
  Entries entries;
  int errorLine;
};

class InstallIniLines : public ::testing::TestWithParam<IniCase> {};

TEST_P(InstallIniLines, Read) {
  const IniCase& c = GetParam();
  const InstallIni ini = ReadInstallIni(c.file);
  EXPECT_EQ(Summary(ini), c.entries);
  EXPECT_EQ(ini.ErrorLine, c.errorLine);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstallIniLines,
    ::testing::Values(
        IniCase{"Empty", "", kBuiltIns, 0},
        IniCase{"LastLineCounts", "QUOR,\"setup.exe\",\"cn\",\"en\"", WithBuiltIns({"3:setup.exe"}),
                0},
        IniCase{"KeywordsInAnyCase",
                "quor,\"a.exe\",\"c\",\"e\"\r\nKeil_C51,\"d.dll\",\"c\",\"e\"\r\n"
                "keil_arm , \"r.dll\" , \"c\" , \"e\"\r\n\r\n",
                WithBuiltIns({"3:a.exe", "4:d.dll", "5:r.dll"}), 0},
        IniCase{"TabAndBellAreBlanks", "\tQUOR\t,\a\"a\"\t,\"c\",\"e\"\t\n", WithBuiltIns({"3:a"}),
                0},
        IniCase{"CommentsAndBlankLinesDoNotCount",
                "; comment\n  ;indented\n\t \n\nFOO,\"a\",\"b\",\"c\"\n",
                {},
                1},
        IniCase{"UnknownKeywordNamesItsLine",
                "QUOR,\"a\",\"c\",\"e\"\n;x\nQUOR,\"b\",\"c\",\"e\"\nSETUP,\"c\",\"c\",\"e\"\n",
                {},
                3},
        IniCase{"OnlyTwoStrings", "QUOR,\"a\",\"c\"\n", {}, 1},
        IniCase{"TrailingComma", "QUOR,\"a\",\"c\",\n", {}, 1},
        IniCase{"UnclosedString", "QUOR,\"a\",\"c\",\"e\n", {}, 1},
        IniCase{"KeywordAlone", "TITLE\n", {}, 1},
        IniCase{"CommaOrStringFirstIsIgnoredButCounted", ",QUOR\n\"x\" FOO\nBAR\n", {}, 3},
        IniCase{"BreakOffAddsNothing",
                "QUOR \"a\",\"c\",\"e\"\nQUOR,\"a\" \"c\",\"e\"\nQUOR,\"a\",,\"e\"\n"
                "QUOR,\"a\",TITLE ,\"e\"\nQUOR,\"b\",\"c\",\"e\"\n",
                WithBuiltIns({"3:b"}), 0},
        IniCase{"BreakOffAtAnUnknownWordIsAnError", "QUOR,\"a\",SETUP\n", {}, 1},
        IniCase{"RestAfterTheThirdStringIgnored", "QUOR,\"a\",\"c\",\"e\" junk ; x\n",
                WithBuiltIns({"3:a"}), 0},
        IniCase{"StringsTakenAsWritten", "QUOR,\"Drivers\\Setup.EXE\",\"c\",\"e\"\n",
                WithBuiltIns({"3:Drivers\\Setup.EXE"}), 0},
        IniCase{"CrDroppedAtLineEnd", "\r\n;c\r\n \r\nFOO\r\n", {}, 1},
        IniCase{"SemicolonEndsAKeyword", "QUOR;,\"a\",\"c\",\"e\"\n", {}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

std::string EntryLines(int n) {
  std::string file;
  for (int i = 0; i < n; ++i) file += "QUOR,\"p" + std::to_string(i) + "\",\"c\",\"e\"\r\n";
  return file;
}

TEST(InstallIni, TableHoldsAHundredEntriesWithTheBuiltIns) {
  const InstallIni full = ReadInstallIni("TITLE,\"\",\"t\",\"T\"\r\n" + EntryLines(98));
  EXPECT_EQ(full.ErrorLine, 0);
  EXPECT_EQ(full.Entries.size(), kMaxInstallEntries);
  EXPECT_EQ(full.Entries.back().Target, "p97");

  // The 99th line is the 101st entry: an error on its line (the title line counts too).
  const InstallIni over = ReadInstallIni("TITLE,\"\",\"t\",\"T\"\r\n" + EntryLines(99));
  EXPECT_EQ(over.ErrorLine, 100);
  EXPECT_TRUE(over.Entries.empty());
  EXPECT_TRUE(over.HasTitle);
}

TEST(InstallIni, TitleReadBeforeAnErrorStays) {
  const InstallIni ini =
      ReadInstallIni("TITLE,\"x\",\"中文\",\"English\"\nQUOR,\"a\"\nTITLE,\"x\",\"b\",\"c\"\n");
  EXPECT_EQ(ini.ErrorLine, 2);
  EXPECT_TRUE(ini.HasTitle);
  EXPECT_EQ(ini.TitleCn, "中文");  // bytes as written
  EXPECT_EQ(ini.TitleEn, "English");
}

TEST(InstallIni, TitleThatBreaksOffSetsNothing) {
  const InstallIni ini = ReadInstallIni("TITLE,\"x\",\"a\" \"b\"\n");
  EXPECT_FALSE(ini.HasTitle);
  EXPECT_EQ(ini.ErrorLine, 0);
}

TEST(InstallIni, CaptionsKeepTheFileBytes) {
  const std::string cn = Utf8ToGb2312("安装调试驱动");
  const InstallIni ini = ReadInstallIni("KEIL_C51,\"PVX.DLL\",\"" + cn + "\",\"Debugger\"\n");
  ASSERT_EQ(ini.Entries.size(), 3u);
  EXPECT_EQ(ini.Entries[2].Caption(true), cn);
  EXPECT_EQ(ini.Entries[2].Caption(false), "Debugger");
  // The built-in captions are GB2312 too.
  EXPECT_EQ(Gb2312ToUtf8(ini.Entries[0].CaptionCn), "安装 USB 驱动");
  EXPECT_EQ(ini.Entries[1].CaptionEn, "Install KEIL Driver");
}

TEST(InstallIni, ErrorText) { EXPECT_EQ(InstallIniErrorText(12), "INSTALL.INI Error (Line: 12)"); }

struct LocaleCase {
  const char* lcAll;
  const char* lcMessages;
  const char* lang;
  bool chinese;
};

TEST(InstallLanguage, FirstNonEmptyLocaleVariableDecides) {
  const LocaleCase cases[] = {
      {nullptr, nullptr, "zh_CN.UTF-8", true},
      {nullptr, nullptr, "zh_SG.GBK", true},
      {nullptr, nullptr, "zh_TW.UTF-8", false},
      {nullptr, nullptr, "en_US.UTF-8", false},
      {nullptr, nullptr, nullptr, false},
      {"", "zh_CN", "en_GB", true},
      {"C", "zh_CN", "zh_CN", false},
      {"zh_CN.GB2312", "C", "en", true},
      {nullptr, "", "zh_CN", true},
      {nullptr, nullptr, "zh", false},
  };
  for (const LocaleCase& c : cases)
    EXPECT_EQ(ChineseLocale(c.lcAll, c.lcMessages, c.lang), c.chinese)
        << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " "
        << (c.lang ? c.lang : "-");
}

}  // namespace
}  // namespace edumac8::install
