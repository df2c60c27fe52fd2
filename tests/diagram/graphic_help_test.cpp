// The graphic help's pins, switches, indicators and its stepping through an experiment.
#include "diagram/graphic_help.h"

#include <gtest/gtest.h>

using namespace edumac8;

TEST(GraphicHelpGeometry, PinsAtTheirPlaces) {
  // The default layout's corners, pin by pin.
  std::vector<DrawPoint> expected;
  for (int i = 0; i < 8; ++i) expected.push_back({230 - 9 * i, 190});
  for (int i = 0; i < 8; ++i) expected.push_back({154 - 9 * i, 190});
  for (int i = 0; i < 8; ++i) expected.push_back({78 - 9 * i, 190});
  for (int y : {70, 79, 88, 97, 106}) expected.push_back({452, y});
  for (DrawPoint p : {DrawPoint{426, 70}, {417, 70}, {408, 70}, {426, 79}, {417, 79}})
    expected.push_back(p);
  for (int y : {70, 79, 88}) expected.push_back({303, y});
  for (int x : {351, 360, 369, 378}) expected.push_back({x, 142});
  for (int y : {154, 163, 172}) expected.push_back({284, y});
  for (int y : {158, 167}) expected.push_back({275, y});
  for (int y : {190, 199, 208}) expected.push_back({284, y});
  for (int x : {304, 314, 324}) expected.push_back({x, 208});
  for (int y : {25, 34, 43}) expected.push_back({252, y});
  for (int x : {174, 183, 192, 201}) expected.push_back({x, 52});
  for (DrawPoint p : {DrawPoint{136, 52},
                      {145, 52},
                      {110, 52},
                      {119, 52},
                      {132, 69},
                      {132, 78},
                      {130, 113},
                      {130, 122},
                      {264, 128},
                      {264, 116},
                      {264, 104}})
    expected.push_back(p);
  ASSERT_EQ(expected.size(), std::size_t(kPinCount));
  for (int pin = 0; pin < kPinCount; ++pin)
    EXPECT_EQ(PinCorner(pin), expected[pin]) << "pin " << pin;

  EXPECT_EQ(PinRect(66), (DrawRect{130, 122, 8, 8}));
  EXPECT_EQ(PinRect(67), (DrawRect{254, 128, 28, 8})) << "the bars reach 10 pixels left";
  EXPECT_EQ(PinCentre(67), (DrawPoint{268, 132}));
}

TEST(GraphicHelpGeometry, SwitchesUnderTheirPins) {
  EXPECT_EQ(SwitchRect(0), (DrawRect{229, 202, 10, 19}));
  EXPECT_EQ(SwitchRect(7).left, 166);
  EXPECT_EQ(SwitchRect(8).left, 153) << "13 pixels after switch 7";
  EXPECT_EQ(SwitchRect(16).left, 77) << "13 pixels after switch 15";
  EXPECT_EQ(SwitchRect(23).left, 14);
  for (int i = 0; i < kSwitchCount; ++i) {
    const DrawRect s = SwitchRect(i);
    EXPECT_EQ(PinCentre(i).x, s.left + s.width / 2) << "pin " << i << " above switch " << i;
    EXPECT_EQ(KnobRect(i, true).top, s.top + 1);
    EXPECT_EQ(KnobRect(i, false).top + 8, s.bottom() - 1);
  }
}

TEST(GraphicHelpGeometry, IndicatorArrows) {
  struct Case {
    std::uint32_t marked, position;
    Arrow pin50, pin51;
  };
  for (const Case& c : {
           Case{0x80000000, 0x80000000, Arrow::Down, Arrow::None},  // 10: down
           Case{0x40000000, 0x40000000, Arrow::Up, Arrow::None},    // 01: up
           Case{0xC0000000, 0x00000000, Arrow::None, Arrow::None},  // 00: nothing
           Case{0xC0000000, 0xC0000000, Arrow::None, Arrow::None},  // 11: nothing
           Case{0x00000000, 0x80000000, Arrow::None, Arrow::None},  // not marked
           Case{0x30000000, 0x20000000, Arrow::None, Arrow::Down},
           Case{0x10000000, 0x10000000, Arrow::None, Arrow::Up},
           Case{0xF0000000, 0x90000000, Arrow::Down, Arrow::Up},
       }) {
    EXPECT_EQ(IndicatorArrow(c.marked, c.position, 0), c.pin50) << std::hex << c.marked;
    EXPECT_EQ(IndicatorArrow(c.marked, c.position, 1), c.pin51) << std::hex << c.marked;
  }
}

namespace {

TExperiment Experiment(int wires, int ops) {
  TExperiment e;
  e.Name = "EXP";
  for (int i = 1; i <= wires; ++i)
    e.Wires.push_back({std::uint8_t(i), std::uint8_t(i + 10), "W" + std::to_string(i)});
  for (int i = 1; i <= ops; ++i) e.Ops.push_back({i, -i, "O" + std::to_string(i)});
  return e;
}

}  // namespace

TEST(GraphicHelpStepping, WiringForwardAndBack) {
  ExperimentCatalogue c;
  c.Entries = {Experiment(3, 0)};
  c.CurrentExp = 1;
  GraphicHelp g;
  g.Select(c, 1);
  EXPECT_TRUE(g.Enabled().wireForward);
  EXPECT_FALSE(g.Enabled().wireBack);
  EXPECT_EQ(g.Status(), " ");

  for (int step = 1; step <= 3; ++step) {
    g.WireForward();
    EXPECT_EQ(g.Status(), " W" + std::to_string(step));
    EXPECT_EQ(g.FirstPin(), step);
    EXPECT_EQ(g.SecondPin(), step + 10);
    EXPECT_TRUE(g.Enabled().wireBack) << "from the first press on";
    EXPECT_EQ(g.Enabled().wireForward, step < 3);
  }
  g.WireBack();
  EXPECT_EQ(g.Status(), " W2");
  EXPECT_TRUE(g.Enabled().wireForward);
  EXPECT_TRUE(g.Enabled().wireBack);
  g.WireBack();
  EXPECT_EQ(g.Status(), " W1");
  EXPECT_FALSE(g.Enabled().wireBack);
  EXPECT_FALSE(g.Enabled().opForward);
}

TEST(GraphicHelpStepping, BackRightAfterTheFirstStepShowsItAgain) {
  ExperimentCatalogue c;
  c.Entries = {Experiment(3, 0)};
  GraphicHelp g;
  g.Select(c, 1);
  g.WireForward();
  g.WireBack();
  EXPECT_EQ(g.WireStepIndex(), 0);
  EXPECT_EQ(g.Status(), " W1");
  EXPECT_FALSE(g.Enabled().wireBack);
  EXPECT_TRUE(g.Enabled().wireForward);
}

TEST(GraphicHelpStepping, OperatingStepsWithoutWiring) {
  ExperimentCatalogue c;
  c.Entries = {Experiment(0, 2)};
  GraphicHelp g;
  g.Select(c, 1);
  EXPECT_FALSE(g.Enabled().wireForward);
  EXPECT_FALSE(g.Enabled().wireBack);
  EXPECT_TRUE(g.Enabled().opForward);
  g.OpForward();
  EXPECT_EQ(g.MarkedMask(), 1u);
  EXPECT_EQ(g.PositionMask(), 0xFFFFFFFFu);
  EXPECT_EQ(g.Status(), " O1");
  g.OpForward();
  EXPECT_EQ(g.MarkedMask(), 2u);
  EXPECT_FALSE(g.Enabled().opForward);
  g.OpBack();
  EXPECT_EQ(g.Status(), " O1");
  EXPECT_FALSE(g.Enabled().opBack);
  EXPECT_EQ(g.FirstPin(), -1) << "no wire was shown";
}

TEST(GraphicHelpStepping, CancelKeepsTheExperimentAndRestartsItsSteps) {
  ExperimentCatalogue c;
  c.Entries = {Experiment(2, 2), Experiment(1, 1)};
  GraphicHelp g;
  g.Select(c, 2);
  g.WireForward();
  g.OpForward();
  ASSERT_NE(g.FirstPin(), -1);
  g.Select(c, std::nullopt);
  EXPECT_EQ(c.CurrentExp, 2);
  EXPECT_EQ(g.FirstPin(), -1);
  EXPECT_EQ(g.SecondPin(), -1);
  EXPECT_EQ(g.MarkedMask(), 0u);
  EXPECT_EQ(g.PositionMask(), 0u);
  EXPECT_EQ(g.Status(), " ");
  EXPECT_EQ(g.WireStepIndex(), -1);
  EXPECT_TRUE(g.Enabled().wireForward);
  g.WireForward();
  EXPECT_EQ(g.Status(), " W1") << "experiment 2's steps";
  EXPECT_FALSE(g.Enabled().wireForward);
}

TEST(GraphicHelpStepping, ButtonsFollowTheChosenExperiment) {
  TExperiment full = Experiment(1, 1);
  full.Requirement = {"R"};
  full.Purpose = {"P"};
  full.Notes = {"N"};
  full.SchematicPicture = "E1.JPG";
  full.TimingPicture = "E1T.JPG";
  TExperiment bare = Experiment(0, 0);
  bare.Purpose = {"P"};
  ExperimentCatalogue c;
  c.Entries = {full, bare};
  c.CurrentExp = 1;

  GraphicHelp g;
  EXPECT_EQ(g.Enabled(), GraphicHelp::Buttons{}) << "all disabled at start";
  g.Select(c, std::nullopt);
  EXPECT_FALSE(g.Enabled().requirement) << "a cancelled dialog enables no text";
  EXPECT_TRUE(g.Enabled().wireForward) << "but loads entry 1's steps";

  g.Select(c, 1);
  GraphicHelp::Buttons all;
  all.requirement = all.purpose = all.notes = all.circuit = all.timing = true;
  all.wireForward = all.opForward = true;
  EXPECT_EQ(g.Enabled(), all);

  g.Select(c, 2);
  GraphicHelp::Buttons purposeOnly;
  purposeOnly.purpose = true;
  EXPECT_EQ(g.Enabled(), purposeOnly) << "what the second has not is disabled";
  EXPECT_EQ(c.CurrentExp, 2);
}

TEST(GraphicHelpStepping, EmptyCatalogueAndPinsBeyondTheBox) {
  ExperimentCatalogue empty;
  GraphicHelp g;
  g.Select(empty, std::nullopt);
  EXPECT_EQ(g.Enabled(), GraphicHelp::Buttons{});
  g.WireForward();
  g.OpBack();
  EXPECT_EQ(g.Status(), " ");
  EXPECT_EQ(g.FirstPin(), -1);

  TExperiment e;
  e.Wires = {{70, 3, "beyond"}, {255, 200, "far beyond"}};
  ExperimentCatalogue c;
  c.Entries = {e};
  g.Select(c, 1);
  g.WireForward();
  EXPECT_EQ(g.Status(), " beyond");
  EXPECT_EQ(g.FirstPin(), 70);
  EXPECT_FALSE(GraphicHelp::PinExists(g.FirstPin()));
  EXPECT_TRUE(GraphicHelp::PinExists(g.SecondPin()));
  EXPECT_TRUE(GraphicHelp::PinExists(69));
}
