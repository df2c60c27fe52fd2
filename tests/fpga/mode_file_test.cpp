// The mode file: the writer to the byte, the reader's rules, and what it makes of files that
// are cut short, damaged or written by hand.
#include "fpga/mode_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/file_io.h"

namespace edumac8 {
namespace {

namespace fs = std::filesystem;

const std::string kHeader = "Quor EDUMAC8 Mode File \r\n";

// The eight column blocks of a new mode.
std::string DefaultColumns() {
  std::string s;
  for (int i = 0; i < 8; ++i)
    s += "0\r\n0\r\n" + std::to_string(40 + i) + "\r\n3\r\nK" + std::to_string(i) +
         "\r\n0x12345678\r\nD" + std::to_string(i) + "\r\n" + std::to_string(i) + "\r\n";
  return s;
}

std::string Block(const std::string& x, const std::string& y, const std::string& kind = "1",
                  const std::string& label = "L", const std::string& group = "8",
                  const std::string& bit = "3") {
  return x + "\r\n" + y + "\r\n" + kind + "\r\n5\r\n2\r\n7\r\n" + group + "\r\n" + bit + "\r\n" +
         label + "\r\n";
}

std::string File(const std::string& count, const std::string& blocks,
                 const std::string& columns = DefaultColumns()) {
  return kHeader + "0\r\n" + count + "\r\n" + blocks + columns;
}

int Lines(const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), '\n')); }

TEST(ModeFileWrite, EmptyNewModeIsSixtySevenLines) {
  const std::string bytes = WriteMode(BoardMode());
  EXPECT_EQ(bytes, File("0", ""));
  EXPECT_EQ(Lines(bytes), 67);
}

TEST(ModeFileWrite, ComponentBlockInListOrderWithUnsignedClockCount) {
  BoardMode mode;
  mode.BoardReserved = 200;
  CList c = CreateNewRec(120, 80, kButton);
  c.SetupMode = 7;
  c.Colour = 4;
  c.ClockCount = 4294967295u;
  c.IOGroup = 41;
  c.Bit = -3;
  c.Label = "\xCA\xB1\xD6\xD3";  // GBK text is written as it is held
  mode.components = {c, CreateNewRec(0, 0, kLed)};
  const std::string bytes = WriteMode(mode);
  EXPECT_EQ(bytes, kHeader +
                       "200\r\n2\r\n120\r\n80\r\n6\r\n7\r\n4\r\n4294967295\r\n41\r\n-3\r\n"
                       "\xCA\xB1\xD6\xD3\r\n0\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n-.-.-.\r\n" +
                       DefaultColumns());
}

TEST(ModeFileRead, HeaderComparesTheFirstTwentyThreeBytes) {
  const struct {
    const char* first;
    ModeRead status;
  } cases[] = {
      {"Quor EDUMAC8 Mode File \r\n", ModeRead::Ok},
      {"Quor EDUMAC8 Mode File and more\r\n", ModeRead::Ok},
      {"Quor EDUMAC8 Mode File \n", ModeRead::Ok},
      {"Quor EDUMAC8 Mode File\r\n", ModeRead::NotModeFile},
      {"quor EDUMAC8 Mode File \r\n", ModeRead::NotModeFile},
      {"\r\nQuor EDUMAC8 Mode File \r\n", ModeRead::NotModeFile},
      {"", ModeRead::NotModeFile},
  };
  for (const auto& c : cases) {
    BoardMode mode;
    mode.components.push_back(CreateNewRec(10, 10, kLed));
    const std::string bytes = std::string(c.first) + "0\r\n0\r\n" + DefaultColumns();
    EXPECT_EQ(ReadMode(c.first[0] ? bytes : "", mode).status, c.status) << c.first;
    // A foreign file changes nothing; a mode file replaces the components.
    EXPECT_EQ(mode.components.size(), c.status == ModeRead::NotModeFile ? 1u : 0u) << c.first;
  }
}

TEST(ModeFileRead, IntegersAsTheFileWritesThem) {
  const struct {
    const char* token;
    std::optional<long long> value;
  } cases[] = {
      {"12", 12},
      {"+12", 12},
      {"-12", -12},
      {"007", 7},
      {"$1F", 31},
      {"$1f", 31},
      {"-$10", -16},
      {"9223372036854775807", 9223372036854775807LL},
      {"-9223372036854775808", std::numeric_limits<long long>::min()},
      {"$7FFFFFFFFFFFFFFF", 9223372036854775807LL},
      {"9223372036854775808", std::nullopt},
      {"$8000000000000000", std::nullopt},
      {"", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"0x10", std::nullopt},
      {"1.5", std::nullopt},
      {"12a", std::nullopt},
      {"$G", std::nullopt},
      {"+-1", std::nullopt},
      {" 1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseModeInteger(c.token), c.value) << c.token;
}

TEST(ModeFileRead, NumbersSkipBlanksAndTheRestOfTheirLine) {
  // Blank lines and blanks before a number are passed over; after it the line is skipped.
  const std::string blocks =
      "\r\n\r\n  \t120 junk here\r\n$50\r\n1 2 3\n5\r\n0\r\n0\r\n8\r\n3\r\nA\r\n";
  BoardMode mode;
  const ModeReadResult r = ReadMode(File("1", blocks), mode);
  ASSERT_EQ(r.status, ModeRead::Ok);
  ASSERT_EQ(mode.components.size(), 1u);
  EXPECT_EQ(mode.components[0].X, 120);
  EXPECT_EQ(mode.components[0].Y, 80);
  EXPECT_EQ(mode.components[0].Kind, 1);
  EXPECT_EQ(mode.components[0].Label, "A");
}

TEST(ModeFileRead, FieldsKeepTheirWidth) {
  const struct {
    const char* colour;
    const char* clocks;
    int expectColour;
    std::uint32_t expectClocks;
  } cases[] = {
      {"3", "4294967295", 3, 4294967295u},
      {"300", "-1", 44, 4294967295u},
      {"-1", "4294967296", 255, 0u},
      {"$FF", "$100000005", 255, 5u},
  };
  for (const auto& c : cases) {
    const std::string block =
        std::string("0\r\n0\r\n6\r\n7\r\n") + c.colour + "\r\n" + c.clocks + "\r\n40\r\n0\r\nB\r\n";
    BoardMode mode;
    ASSERT_EQ(ReadMode(File("1", block), mode).status, ModeRead::Ok) << c.colour;
    EXPECT_EQ(mode.components[0].Colour, c.expectColour) << c.colour;
    EXPECT_EQ(mode.components[0].ClockCount, c.expectClocks) << c.clocks;
  }
  // Other numbers are signed 32-bit: one beyond is a failed read.
  BoardMode mode;
  EXPECT_EQ(ReadMode(File("1", Block("2147483648", "0")), mode).status, ModeRead::Bad);
  EXPECT_TRUE(mode.components.empty());
  EXPECT_EQ(ReadMode(File("1", Block("-2147483648", "0")), mode).status, ModeRead::Ok);
}

TEST(ModeFileRead, ColumnsKeepTheLowBitsOfKeyTypeAndKeyIO) {
  std::string columns = DefaultColumns();
  columns.replace(0, std::string("0\r\n0\r\n40\r\n").size(), "257\r\n-5\r\n65576\r\n");
  BoardMode mode;
  ASSERT_EQ(ReadMode(File("0", "", columns), mode).status, ModeRead::Ok);
  EXPECT_EQ(mode.columns[0].KeyType, 1);
  EXPECT_EQ(mode.columns[0].KeyClockCount, -5);
  EXPECT_EQ(mode.columns[0].KeyIO, 40);
}

TEST(ModeFileRead, PositionsBeyondTheBoardAreDroppedSilently) {
  const struct {
    const char* x;
    const char* y;
    bool kept;
  } cases[] = {{"900", "640", true},
               {"901", "0", false},
               {"0", "641", false},
               {"-20", "0", true},
               {"0", "0", true}};
  for (const auto& c : cases) {
    BoardMode mode;
    const ModeReadResult r = ReadMode(File("1", Block(c.x, c.y)), mode);
    EXPECT_EQ(r.status, ModeRead::Ok) << c.x << "," << c.y;
    EXPECT_EQ(mode.components.size(), c.kept ? 1u : 0u) << c.x << "," << c.y;
    EXPECT_EQ(r.dropped, c.kept ? 0 : 1);
  }
}

TEST(ModeFileRead, ABadBlockIsPassedOverAndTheOthersStay) {
  const std::string blocks = Block("10", "10", "1", "first") + Block("20", "x", "1", "bad") +
                             Block("30", "30", "2", "third");
  BoardMode mode;
  EXPECT_EQ(ReadMode(File("3", blocks), mode).status, ModeRead::Bad);
  ASSERT_EQ(mode.components.size(), 2u);
  EXPECT_EQ(mode.components[0].Label, "first");
  EXPECT_EQ(mode.components[1].Label, "third");
  EXPECT_EQ(mode.columns[7].PortLabel, "D7");  // the columns after it are read too
}

TEST(ModeFileRead, AFileCutShortEndsTheReadingWithoutInventingComponents) {
  BoardMode mode;
  mode.columns[0].KeyLabel = "before";
  // Three announced, one present: the reading stops at the end of the file.
  const std::string bytes = kHeader + "0\r\n3\r\n" + Block("10", "10", "1", "only");
  EXPECT_EQ(ReadMode(bytes, mode).status, ModeRead::Bad);
  ASSERT_EQ(mode.components.size(), 1u);
  EXPECT_EQ(mode.components[0].Label, "only");
  EXPECT_EQ(mode.columns[0].KeyLabel, "before");  // what was not read keeps its value

  // A block cut in the middle is not placed.
  mode = BoardMode();
  EXPECT_EQ(ReadMode(kHeader + "0\r\n1\r\n10\r\n10\r\n1\r\n", mode).status, ModeRead::Bad);
  EXPECT_TRUE(mode.components.empty());
}

TEST(ModeFileRead, AHugeCountIsBoundedByTheFile) {
  BoardMode mode;
  const std::string bytes = File("2147483647", Block("10", "10") + Block("20", "20"));
  EXPECT_EQ(ReadMode(bytes, mode).status, ModeRead::Bad);
  // The column blocks are read as components, until the end of the file.
  EXPECT_LE(mode.components.size(), 12u);
  EXPECT_EQ(mode.components[0].X, 10);
  EXPECT_EQ(mode.components[1].X, 20);
}

TEST(ModeFileRead, AnUnreadableHeadMakesTheFileBadBeforeAnyBlock) {
  for (const std::string& head : {std::string("x\r\n1\r\n"), std::string("0\r\n-1\r\n"),
                                  std::string("0\r\none\r\n"), std::string("0\r\n")}) {
    BoardMode mode;
    mode.columns[3].PortText = "kept";
    EXPECT_EQ(ReadMode(kHeader + head + Block("10", "10") + DefaultColumns(), mode).status,
              ModeRead::Bad)
        << head;
    EXPECT_TRUE(mode.components.empty()) << head;
    EXPECT_EQ(mode.columns[3].PortText, "kept") << head;
  }
}

TEST(ModeFileRead, TheLastNumberMayLackItsLineEndButMustBeThere) {
  std::string bytes = File("0", "");
  bytes.resize(bytes.size() - 2);  // "7" without CR LF
  BoardMode mode;
  EXPECT_EQ(ReadMode(bytes, mode).status, ModeRead::Ok);
  EXPECT_EQ(mode.columns[7].PortIO, 7);
  bytes.resize(bytes.size() - 1);  // no PortIO at all
  mode = BoardMode();
  mode.columns[7].PortIO = 99;
  EXPECT_EQ(ReadMode(bytes, mode).status, ModeRead::Bad);
  EXPECT_EQ(mode.columns[7].PortIO, 99);
  EXPECT_EQ(mode.columns[7].PortLabel, "D7");
}

TEST(ModeFileRead, WhatFollowsTheColumnsIsIgnored) {
  BoardMode mode;
  EXPECT_EQ(ReadMode(File("0", "") + "garbage\r\n$$$\r\n", mode).status, ModeRead::Ok);
}

TEST(ModeFileRead, TextsAreWholeLinesKeptAsBytes) {
  // LF or CR LF ends a line; a lone CR and bytes that are not GBK stay in the text.
  const std::string blocks =
      Block("0", "0", "1", "a\rb") + "0\n0\n2\n1\n0\n0\n0\n0\n \x80\xFF name \n";
  BoardMode mode;
  ASSERT_EQ(ReadMode(File("2", blocks), mode).status, ModeRead::Ok);
  ASSERT_EQ(mode.components.size(), 2u);
  EXPECT_EQ(mode.components[0].Label, "a\rb");
  EXPECT_EQ(mode.components[1].Label, " \x80\xFF name ");
  // Saved and read again, nothing changes.
  const std::string saved = WriteMode(mode);
  BoardMode again;
  ASSERT_EQ(ReadMode(saved, again).status, ModeRead::Ok);
  EXPECT_EQ(WriteMode(again), saved);
  EXPECT_EQ(again.components[1].Label, " \x80\xFF name ");
}

TEST(ModeFileRead, HintsNameTheConnection) {
  const std::string blocks =
      Block("0", "0", "1", "led", "8", "3") + Block("0", "0", "2", "two", "2", "5") +
      Block("0", "0", "1", "far", "60", "9") + Block("0", "0", "6", "btn", "41", "0");
  BoardMode mode;
  ASSERT_EQ(ReadMode(File("4", blocks), mode).status, ModeRead::Ok);
  EXPECT_EQ(mode.components[0].LabelHint, "IO: Out0 Bit:3");
  EXPECT_EQ(mode.components[1].LabelHint, "IO: D2");
  EXPECT_EQ(mode.components[2].LabelHint, "IO: ? Bit:9");
  EXPECT_EQ(mode.components[3].LabelHint, "IO: K1");
  EXPECT_EQ(SetupHint(mode.components[3]), "Pin: K???");
}

TEST(ModeFileRead, OutOfRangeValuesAreKeptAndWrittenBack) {
  const std::string blocks = Block("0", "0", "12", "odd", "-4", "99");
  BoardMode mode;
  ASSERT_EQ(ReadMode(File("1", blocks), mode).status, ModeRead::Ok);
  EXPECT_EQ(mode.components[0].Kind, 12);
  EXPECT_EQ(mode.components[0].IOGroup, -4);
  EXPECT_EQ(mode.components[0].Bit, 99);
  EXPECT_EQ(WriteMode(mode), File("1", blocks));
}

TEST(ModeFileNames, ExtensionAppendedOnlyWhenTheOwnNameHasNoDot) {
  const struct {
    const char* name;
    const char* expected;
  } cases[] = {
      {"board", "board.MD8"},     {"board.txt", "board.txt"}, {"dir.d/board", "dir.d/board.MD8"},
      {"./board", "./board.MD8"}, {"a/b.MD8", "a/b.MD8"},     {"/tmp/x.y/z.", "/tmp/x.y/z."}};
  for (const auto& c : cases) EXPECT_EQ(WithModeExtension(c.name), c.expected) << c.name;
  EXPECT_EQ(ModeOverwriteText("a.MD8"), "\"a.MD8\" 模式文件已存在, 重写? ");
}

TEST(ModeFileShipped, ExampleModesReadWithoutFaultAndSaveUnchanged) {
  int files = 0;
  for (const auto& entry : fs::directory_iterator(EDUMAC8_FPGA_DIR)) {
    if (entry.path().extension() != ".MD8") continue;
    ++files;
    const std::string bytes = *ReadWholeFile(entry.path().string());
    BoardMode mode;
    const ModeReadResult r = ReadMode(bytes, mode);
    EXPECT_EQ(r.status, ModeRead::Ok) << entry.path();
    EXPECT_EQ(r.dropped, 0) << entry.path();
    EXPECT_FALSE(mode.components.empty()) << entry.path();
    EXPECT_EQ(WriteMode(mode), bytes) << entry.path();
  }
  EXPECT_GE(files, 3);
}

struct ModeFileDisk : ::testing::Test {
  fs::path dir = fs::temp_directory_path() / ("mode_file_" + std::to_string(getpid()));
  void SetUp() override { fs::create_directories(dir); }
  void TearDown() override { fs::remove_all(dir); }
  std::string Path(const char* name) const { return (dir / name).string(); }
};

TEST_F(ModeFileDisk, OpenReportsMissingAndForeignFiles) {
  BoardMode mode;
  EXPECT_EQ(OpenModeFile(Path("none.MD8"), mode), "未找到模式文件: " + Path("none.MD8"));
  EXPECT_EQ(OpenModeFile(dir.string(), mode), "未找到模式文件: " + dir.string());
  std::ofstream(Path("x.MD8"), std::ios::binary) << "not a mode\r\n";
  EXPECT_EQ(OpenModeFile(Path("x.MD8"), mode), "模式文件格式错: " + Path("x.MD8"));
}

TEST_F(ModeFileDisk, AFailedSaveLeavesTheOldFile) {
  const std::string path = Path("old.MD8");
  std::ofstream(path, std::ios::binary) << "old";
  // A directory of the same name as the temporary cannot be replaced: the rename fails.
  fs::create_directories(Path("sub.MD8"));
  std::ofstream(Path("sub.MD8/inside"), std::ios::binary) << "x";
  BoardMode mode;
  EXPECT_FALSE(SaveModeFile(Path("sub.MD8"), mode));
  EXPECT_TRUE(fs::is_directory(Path("sub.MD8")));
  EXPECT_FALSE(SaveModeFile(Path("missing/dir.MD8"), mode));
  ASSERT_TRUE(SaveModeFile(path, mode));
  EXPECT_EQ(ReadWholeFile(path), WriteMode(mode));
}

}  // namespace
}  // namespace edumac8
