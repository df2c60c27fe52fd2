// The board model's rules: group names, placement, the 32 x 32 selection square, the test
// mode's values, the caption by link state, what the dialogs make of typing, the geometry.
#include "fpga/board_mode.h"

#include <gtest/gtest.h>

#include "fpga/board_caption.h"
#include "fpga/board_random.h"
#include "fpga/component_geometry.h"
#include "fpga/typed_values.h"

namespace edumac8 {
namespace {

TEST(BoardModel, GroupNames) {
  const struct {
    long long group;
    const char* name;
  } cases[] = {{0, "D0"},  {7, "D7"}, {8, "Out0"}, {39, "Out31"},   {40, "K0"},
               {47, "K7"}, {48, "?"}, {-1, "?"},   {1LL << 40, "?"}};
  for (const auto& c : cases) EXPECT_EQ(IOGroupName(c.group), c.name) << c.group;
}

TEST(BoardModel, NewModeColumnsAndReset) {
  BoardMode mode;
  for (int i = 0; i < kBoardColumns; ++i) {
    const BoardColumn& c = mode.columns[i];
    EXPECT_EQ(c.KeyType, 0);
    EXPECT_EQ(c.KeyIO, 40 + i);
    EXPECT_EQ(c.KeyFreq, 3);
    EXPECT_STREQ(kClockFrequencyNames[c.KeyFreq], "1MHz");
    EXPECT_EQ(c.KeyLabel, "K" + std::to_string(i));
    EXPECT_EQ(c.PortText, "0x12345678");
    EXPECT_EQ(c.PortLabel, "D" + std::to_string(i));
    EXPECT_EQ(c.PortIO, i);
  }
  mode.columns[2] = BoardColumn{3, 9, 1, 1, "x", "y", "z", 5, 1};
  mode.BoardReserved = 9;
  mode.ResetColumns();
  EXPECT_EQ(mode.columns[2].KeyLabel, "K2");
  EXPECT_EQ(mode.columns[2].ClockBusy, 1) << "a running clock keeps running";
  EXPECT_EQ(mode.BoardReserved, 9);
}

TEST(BoardModel, PlacementSnapsAndStaysOnTheBoard) {
  EXPECT_EQ(SnapToGrid(127), 120);
  EXPECT_EQ(SnapToGrid(84), 80);
  EXPECT_EQ(SnapToGrid(0), 0);
  EXPECT_EQ(SnapToGrid(-3), -10);
  EXPECT_TRUE(WithinBoard(900, 640));
  EXPECT_FALSE(WithinBoard(910, 0));
  EXPECT_FALSE(WithinBoard(0, 650));
  EXPECT_FALSE(WithinBoard(-10, 0));
  const CList c = CreateNewRec(120, 80, kTwoDigits);
  EXPECT_EQ(c.Label, "-.-.-.");
  EXPECT_EQ(c.LabelHint, "-.-");
  EXPECT_EQ(c.IOGroup, 0);
  EXPECT_EQ(c.Colour, 0);
  EXPECT_EQ(c.SetupMode, 0);
}

TEST(BoardModel, TheSelectionSquareIsStrictlyInsideAndTheLastWins) {
  BoardMode mode;
  mode.components = {CreateNewRec(100, 100, kLed), CreateNewRec(120, 100, kLed),
                     CreateNewRec(2147483640, 0, kLed)};
  const struct {
    int x, y;
    std::optional<int> hit;
  } cases[] = {{101, 101, 0}, {100, 110, std::nullopt}, {131, 131, 1},           {125, 110, 1},
               {132, 110, 1}, {152, 110, std::nullopt}, {110, 132, std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ComponentAt(mode, c.x, c.y), c.hit) << c.x << "," << c.y;
}

TEST(BoardModel, TestValuesFollowTheGroupAndUnknownGroupsGiveZero) {
  BoardMode mode;
  mode.components = {CreateNewRec(0, 0, kLed), CreateNewRec(0, 0, kLed),
                     CreateNewRec(0, 0, kEightDigits)};
  mode.components[0].IOGroup = 47;
  mode.components[1].IOGroup = 48;
  mode.components[2].IOGroup = -1;
  std::array<std::uint32_t, kIOGroupCount> numbers{};
  for (int g = 0; g < kIOGroupCount; ++g) numbers[g] = 1000 + g;
  ApplyTestValues(mode, numbers);
  EXPECT_EQ(mode.components[0].Value, 1047u);
  EXPECT_EQ(mode.components[1].Value, 0u);
  EXPECT_EQ(mode.components[2].Value, 0u);
}

TEST(BoardModel, RandomDrawsRepeatWithTheirSeed) {
  BoardRandom a(42), b(42), c(43);
  const auto first = a.Draw();
  EXPECT_EQ(first, b.Draw());
  EXPECT_NE(first, c.Draw());
  EXPECT_NE(first, a.Draw());
  // 48 numbers of 32 bits: the high bits are used too.
  std::uint32_t high = 0;
  for (std::uint32_t n : first) high |= n;
  EXPECT_EQ(high >> 31, 1u);
}

TEST(BoardModel, CaptionByLinkState) {
  const struct {
    BoardLinkState link;
    const char* status;
  } cases[] = {
      {{false, 0, 1, 1}, " 未连接 EDUMAC8 实验仪"},
      {{true, 1, 2, 0}, "XO2 FPGA XO2-2000 实验"},
      {{true, 1, 0, 0}, "已连接 EDUMAC8 实验仪, 微程序控制器实验"},
      {{true, 1, 0, 1}, "已连接 EDUMAC8 实验仪, 组合逻辑控制器实验"},
      {{true, 0, 0, 0}, "已连接 EDUMAC8 实验仪, 分部实验: J 未连接"},
      {{true, 2, 0, 0}, "已连接 EDUMAC8 实验仪, 分部实验: J1 <> J3"},
      {{true, 3, 0, 0}, "已连接 EDUMAC8 实验仪, 分部实验: J2 <> J3"},
      {{true, 7, 0, 0}, "已连接 EDUMAC8 实验仪, 分部实验"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BoardCaption(c.link, "/home/a/x.MD8"),
              std::string("FPGA 实验 ===> ") + c.status + "     模式文件: /home/a/x.MD8");
}

TEST(BoardModel, TypedPositionsAndClockCounts) {
  const struct {
    const char* text;
    int position;  // with old 55, limit 900
  } positions[] = {{"120", 120}, {" 120 ", 120}, {"900", 900}, {"901", 55}, {"-1", 55},
                   {"12x", 55},  {"", 55},       {"$10", 16},  {"0", 0}};
  for (const auto& c : positions)
    EXPECT_EQ(TypedPosition(c.text, 55, kBoardMaxX), c.position) << c.text;
  EXPECT_EQ(TypedPosition("641", 7, kBoardMaxY), 7);

  const struct {
    const char* text;
    std::uint32_t count;
  } counts[] = {{"100", 100u},       {"abc", 0u},         {"4294967295", 4294967295u},
                {"4294967296", 0u},  {"-1", 4294967295u}, {"-2147483648", 2147483648u},
                {"-2147483649", 0u}, {"99999999999", 0u}, {"$FF", 255u}};
  for (const auto& c : counts) EXPECT_EQ(TypedClockCount(c.text), c.count) << c.text;
}

TEST(BoardModel, TypedTextIsOneLineOfGbk) {
  EXPECT_EQ(TypedText("时钟"), "\xCA\xB1\xD6\xD3");
  EXPECT_EQ(TypedText("a\nb\r"), "a b ");
}

TEST(BoardModel, ControlsByKind) {
  const struct {
    int kind;
    BoardRect visual, label;
  } cases[] = {
      {kLed, {120, 81, 22, 22}, {101, 105, 62, 18}},
      {kTwoDigits, {101, 81, 62, 47}, {101, 129, 62, 18}},
      {kTwoDigitsWithLeds, {101, 81, 62, 47}, {101, 129, 62, 18}},
      {kSegmentDigit, {101, 81, 62, 47}, {101, 129, 62, 18}},
      {kEightDigits, {101, 81, 200, 47}, {101, 129, 200, 18}},
      {kButton, {115, 81, 32, 32}, {101, 115, 62, 18}},
      {kPlaceholder, {9999, 9999, 62, 47}, {9999, 9999, 62, 18}},
      {0, {9999, 9999, 62, 47}, {9999, 9999, 62, 18}},
  };
  for (const auto& c : cases) {
    const ComponentGeometry g = GeometryOf(c.kind, 100, 80);
    EXPECT_EQ(g.visual, c.visual) << c.kind;
    EXPECT_EQ(g.label, c.label) << c.kind;
  }
  EXPECT_EQ(PreviewRect(kEightDigits, 10, 20), (BoardRect{10, 20, 208, 64}));
  EXPECT_EQ(PreviewRect(kLed, 10, 20), (BoardRect{10, 20, 64, 64}));
  const ColumnGeometry col = ColumnGeometryOf(3);
  EXPECT_EQ(col.portBox, (BoardRect{308, 6, 92, 30}));
  EXPECT_EQ(col.portEdit.x, 4);
  EXPECT_EQ(col.portEdit.width, 84);
  EXPECT_EQ(col.portLabel.y, 38);
  EXPECT_EQ(col.key, (BoardRect{330, 64, 32, 32}));
  EXPECT_EQ(col.keyLabel.y, 98);
}

TEST(BoardModel, UnknownKindsAndKeyKindsActAsDefaults) {
  EXPECT_EQ(EffectiveKind(0), kPlaceholder);
  EXPECT_EQ(EffectiveKind(8), kPlaceholder);
  EXPECT_EQ(EffectiveKind(kEightDigits), kEightDigits);
  EXPECT_EQ(EffectiveKeyKind(5), kLevelKey);
  EXPECT_EQ(EffectiveKeyKind(-1), kLevelKey);
  EXPECT_TRUE(IsClockKey(3) && IsClockKey(4) && !IsClockKey(5));
  EXPECT_TRUE(IsEdgeKey(1) && IsEdgeKey(2) && !IsEdgeKey(0));
}

}  // namespace
}  // namespace edumac8
