// edumac8-cli board as a teacher's script uses it: the listing's exact lines, the save, the
// messages and the exit codes.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/cli_fixture.h"
#include "fpga/mode_file.h"
#include "platform/file_io.h"

namespace edumac8 {
namespace {

// The board command, run in the test's directory so that relative names land there.
struct BoardCli : CliFixture {
  Result Cli(const std::string& args) const {
    return CliFixture::Cli("board " + args, "cd " + dir.string() + " &&");
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
      if (e.path().filename() != "stderr.txt") names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

std::string FirstLine(const std::string& s) { return s.substr(0, s.find('\n')); }

TEST_F(BoardCli, NewModeListing) {
  const Result r = Cli("--new");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.err.empty());
  std::string expected = "mode reserved=0 components=0\n";
  for (int i = 0; i < 8; ++i) {
    const std::string n = std::to_string(i);
    expected += "key " + n + " type=0 clocks=0 group=" + std::to_string(40 + i) + " io=K" + n +
                " freq=3 label=\"K" + n + "\"\n";
    expected +=
        "port " + n + " group=" + n + " io=D" + n + " label=\"D" + n + "\" text=\"0x12345678\"\n";
  }
  EXPECT_EQ(r.out, expected);
}

TEST_F(BoardCli, ComponentsAndEscapedTexts) {
  BoardMode mode;
  mode.BoardReserved = 7;
  CList led = CreateNewRec(120, 80, kLed);
  led.SetupMode = 5;
  led.Colour = 2;
  led.IOGroup = 8;
  led.Bit = 3;
  led.Label = "\xCA\xB1\xD6\xD3 \"q\" \\ \t\x7F";  // GBK, quote, backslash, tab, DEL
  CList odd = CreateNewRec(900, 640, 9);
  odd.ClockCount = 4294967295u;
  odd.IOGroup = 48;
  odd.Bit = -1;
  odd.Label =
      "a\xFF"
      "b\r";  // a byte that is not GBK, and a lone CR
  mode.components = {led, odd};
  mode.columns[1].KeyType = 3;
  mode.columns[1].KeyClockCount = -5;
  mode.columns[1].KeyIO = 300;
  mode.columns[1].KeyFreq = 9;
  mode.columns[2].PortIO = -2;
  mode.columns[2].PortText = "";
  Write("m.MD8", WriteMode(mode));
  const Result r = Cli("m.MD8");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> lines;
  for (std::size_t at = 0, nl; (nl = r.out.find('\n', at)) != std::string::npos; at = nl + 1)
    lines.push_back(r.out.substr(at, nl - at));
  ASSERT_EQ(lines.size(), 19u);
  EXPECT_EQ(lines[0], "mode reserved=7 components=2");
  EXPECT_EQ(lines[1],
            "component 0 kind=1 x=120 y=80 setup=5 colour=2 clocks=0 group=8 io=Out0 bit=3 "
            "label=\"时钟 \\\"q\\\" \\\\ \\x09\\x7F\"");
  EXPECT_EQ(lines[2],
            "component 1 kind=9 x=900 y=640 setup=0 colour=0 clocks=4294967295 group=48 io=? "
            "bit=-1 label=\"a\xEF\xBF\xBD"
            "b\\x0D\"");
  EXPECT_EQ(lines[5], "key 1 type=3 clocks=-5 group=300 io=? freq=9 label=\"K1\"");
  EXPECT_EQ(lines[8], "port 2 group=-2 io=? label=\"D2\" text=\"\"");
}

TEST_F(BoardCli, SaveWritesWhatTheBoardWouldAndPrintsNothing) {
  Write("in.MD8", WriteMode(BoardMode()) + "trailing\r\n");
  Result r = Cli("in --save out");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(ReadWholeFile(Path("out.MD8")), WriteMode(BoardMode()));
  // A name with a dot keeps it; an existing file is replaced without asking.
  r = Cli("--new --save out.txt");
  EXPECT_EQ(r.status, 0);
  r = Cli("--new --save out.txt");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(ReadWholeFile(Path("out.txt")), WriteMode(BoardMode()));
  // Components beyond the board are dropped, which is no failure.
  Write("far.MD8", std::string(kModeHeader) +
                       "\r\n0\r\n1\r\n901\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\nL\r\n" +
                       WriteMode(BoardMode()).substr(kModeHeader.size() + 8));
  r = Cli("far.MD8");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(FirstLine(r.out), "mode reserved=0 components=0");
}

TEST_F(BoardCli, FailuresReportTheMessageAndWriteNothing) {
  Write("bad.MD8", std::string(kModeHeader) + "\r\n0\r\n2\r\n");
  Write("foreign.MD8", "hello\r\n");
  fs::create_directories(Path("taken.MD8"));
  std::ofstream(Path("taken.MD8/x")) << "x";
  const struct {
    std::string args;
    std::string message;
  } cases[] = {
      {"nothing", "未找到模式文件: nothing.MD8"},
      {"nothing.txt --save out", "未找到模式文件: nothing.txt"},
      {"foreign", "模式文件格式错: foreign.MD8"},
      {"bad.MD8 --save out", "模式文件格式错: bad.MD8"},
      {"--new --save taken", "Mode file write error"},
  };
  for (const auto& c : cases) {
    const Result r = Cli(c.args);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_TRUE(r.out.empty()) << c.args;
    EXPECT_EQ(FirstLine(r.err), c.message) << c.args;
  }
  EXPECT_EQ(Files(), (std::vector<std::string>{"bad.MD8", "foreign.MD8", "taken.MD8"}));
}

TEST_F(BoardCli, UsageErrorsExitTwo) {
  for (const char* args : {"", "a b", "a --new", "--new --new", "--save", "--new --save",
                           "--new --bogus", "--save x", "--new --save a --save b"}) {
    const Result r = Cli(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_TRUE(r.out.empty()) << args;
    EXPECT_NE(r.err.find("usage:"), std::string::npos) << args;
  }
}

}  // namespace
}  // namespace edumac8
