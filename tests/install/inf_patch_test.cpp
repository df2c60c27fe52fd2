// The modem INF update on UTF-16 bytes and on files.
#include "install/inf_patch.h"

#include <gtest/gtest.h>

#include "support/temp_tree.h"

namespace edumac8::install {
namespace {

std::string Utf16(std::string_view ascii) {
  std::string out;
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

const std::string kHeader = Utf16("[FakeModemCopyFileSection]");
const std::string kSemicolon(";\0", 2);

struct InfCase {
  const char* name;
  std::string before;
  std::optional<std::string> after;
};

class InfUpdates : public ::testing::TestWithParam<InfCase> {};

TEST_P(InfUpdates, Update) {
  EXPECT_EQ(CommentFakeModemCopyLine(GetParam().before), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InfUpdates,
    ::testing::Values(
        InfCase{"LineAfterHeader",
                "\xFF\xFE" + Utf16("[Version]\r\n") + kHeader + Utf16("\r\nusbser.sys,,,0x20\r\n"),
                "\xFF\xFE" + Utf16("[Version]\r\n") + kHeader + Utf16("\r\n") + kSemicolon +
                    Utf16("usbser.sys,,,0x20\r\n")},
        InfCase{"TwiceGivesTwoSemicolons", kHeader + Utf16("\r\n") + kSemicolon + Utf16("x"),
                kHeader + Utf16("\r\n") + kSemicolon + kSemicolon + Utf16("x")},
        InfCase{"OddOffset", "\x01" + kHeader + Utf16("\r\nx"),
                "\x01" + kHeader + Utf16("\r\n") + kSemicolon + Utf16("x")},
        InfCase{"HeaderRightAfterAPartialMatch", Utf16("[Fake") + kHeader + Utf16("\r\nx"),
                Utf16("[Fake") + kHeader + Utf16("\r\n") + kSemicolon + Utf16("x")},
        InfCase{"HighBytesAreNotCompared", "[\x01" + kHeader.substr(2) + Utf16("\r\n"),
                "[\x01" + kHeader.substr(2) + Utf16("\r\n") + kSemicolon},
        InfCase{"LineEndExactlyAtTheEnd", kHeader + Utf16("\r\n"),
                kHeader + Utf16("\r\n") + kSemicolon},
        InfCase{"HeaderWithinFourBytesOfTheEnd", kHeader + Utf16("\r"), std::nullopt},
        InfCase{"NoHeader", Utf16("[FakeModemCopyFileSectio]\r\nx"), std::nullopt},
        InfCase{"AsciiFileHasNoHeader", "[FakeModemCopyFileSection]\r\nx", std::nullopt},
        InfCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InfUpdates, SizeBound) {
  std::string atBound = kHeader + Utf16("\r\n");
  atBound.resize(kMaxInfBytes, 'x');
  std::optional<std::string> updated = CommentFakeModemCopyLine(atBound);
  ASSERT_TRUE(updated);
  EXPECT_EQ(updated->size(), kMaxInfBytes + 2);
  EXPECT_FALSE(CommentFakeModemCopyLine(atBound + "x"));
}

TEST(InfFile, UpdatedOnlyWhenTheHeaderIsThere) {
  test::TempTree t;
  const std::string inf = t.Write("mdmcpq.inf", kHeader + Utf16("\r\nx"));
  chmod(inf.c_str(), 0600);
  EXPECT_TRUE(PatchInfFile(inf));
  EXPECT_EQ(t.Read("mdmcpq.inf"), kHeader + Utf16("\r\n") + kSemicolon + Utf16("x"));
  EXPECT_EQ(t.Mode("mdmcpq.inf"), 0600u);

  std::string large = kHeader + Utf16("\r\n");
  large.resize(kMaxInfBytes + 1, 'x');
  t.Write("large.inf", large);
  EXPECT_FALSE(PatchInfFile(t.Path("large.inf")));
  EXPECT_EQ(t.Read("large.inf"), large);  // never cut short

  t.Write("plain.inf", "no header");
  EXPECT_FALSE(PatchInfFile(t.Path("plain.inf")));
  EXPECT_EQ(t.Read("plain.inf"), "no header");
  EXPECT_FALSE(PatchInfFile(t.Path("missing.inf")));
  EXPECT_EQ(t.Names(""), (std::vector<std::string>{"large.inf", "mdmcpq.inf", "plain.inf"}));
}

}  // namespace
}  // namespace edumac8::install
