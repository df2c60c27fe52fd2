// The capture: two samples per trace record, CK high then low, RT0/RT1 worked out in
// simulation, and the reads past the data.
#include <gtest/gtest.h>

#include "alloc_counter.h"
#include "la/la_samples.h"
#include "support/machine_fixture.h"

namespace edumac8 {
namespace {

using test::DefaultMachine;
using test::Word;

// A record whose every sampled byte is `tag` + the channel's number, so a sample tells where
// it came from.
TraceRecord Tagged(std::uint8_t tag) {
  TraceRecord r;
  for (int k = 0; k < kLAChannelCount; ++k)
    r.state[kLAChannelSources[k]] = static_cast<std::uint8_t>(tag + k);
  return r;
}

struct Captured {
  Machine m;
  LASamples samples;
  void Records(int n) {
    m.history.Clear();
    for (int j = 0; j < n; ++j) m.history.Append(Tagged(static_cast<std::uint8_t>(j * 3)));
    samples.Capture(m, /*simulation=*/false);
    samples.CopyToDisplay();
  }
  std::uint8_t At(int k, int i) { return samples.LASample(k, i); }
};

TEST(LACapture, ChannelTableAsFixed) {
  const LAChannelTable c = InitLAChannels();
  EXPECT_EQ(c[0].Name, "IBUS");
  EXPECT_EQ(c[0].Colour, 0x000080u);
  EXPECT_EQ(c[0].BitNames[7], "IBUS.7");
  EXPECT_EQ(c[5].Name, "STATUS");
  EXPECT_EQ(c[5].BitNames[3], "PC+1");
  EXPECT_FALSE(c[5].ShowAsBus);
  EXPECT_EQ(c[5].HitHeight, 25);  // still that of a bus row until the first double-click
  EXPECT_EQ(c[6].BitNames[0], "ELP");
  EXPECT_EQ(c[7].BitNames[6], "MAROE");
  EXPECT_EQ(c[8].BitNames[7], "X2");
  EXPECT_EQ(c[9].BitNames[0], "NULL");
  EXPECT_EQ(c[9].BitNames[7], "RCy");
  EXPECT_EQ(c[23].Name, "IN");
  EXPECT_EQ(c[23].BitNames[0], "IN.0");
  EXPECT_EQ(c[23].Colour, 0xFFFF00u);
  EXPECT_EQ(c[24].Colour, 0x008000u);
  for (const TLAChannel& channel : c) {
    EXPECT_EQ(channel.BitColours[0], 0xFF0000u);
    EXPECT_EQ(channel.BitColours[7], 0xFFFFFFu);
    EXPECT_EQ(channel.LineUnit, 15);
  }
  EXPECT_EQ(kLAChannelSources[0], Field::IBUS);
  EXPECT_EQ(kLAChannelSources[9], Field::F);
  EXPECT_EQ(kLAChannelSources[22], Field::IA);
}

TEST(LACapture, DoubleClickTogglesTheRowAndItsHitBand) {
  LAChannelTable c = InitLAChannels();
  ToggleShowAsBus(c[23]);  // IN expands
  EXPECT_FALSE(c[23].ShowAsBus);
  EXPECT_EQ(c[23].HitHeight, 166);
  ToggleShowAsBus(c[5]);  // STATUS collapses
  EXPECT_TRUE(c[5].ShowAsBus);
  EXPECT_EQ(c[5].HitHeight, 25);
  EXPECT_EQ(LayOutRows(c), 25 + 24 * 25 + 165);
  EXPECT_EQ(c[0].Top, 25);
  EXPECT_EQ(c[24].Top, 25 + 23 * 25 + 165);
}

TEST(LACapture, CountsAndClock) {
  Captured c;
  c.Records(0);
  EXPECT_EQ(c.samples.LASampleCount(), 0);
  c.At(0, 0);
  EXPECT_TRUE(c.samples.LAPastEnd());

  c.Records(1);  // just after reset: one sample, the clock high
  EXPECT_EQ(c.samples.LASampleCount(), 1);
  EXPECT_EQ(c.At(kLAStatusChannel, 0) & status::CK, status::CK);
  EXPECT_FALSE(c.samples.LAPastEnd());

  c.Records(3);
  ASSERT_EQ(c.samples.LASampleCount(), 5);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(c.At(kLAStatusChannel, i) & status::CK, i % 2 == 0 ? 1 : 0) << i;
  for (int k = 0; k < kLAChannelCount; ++k) {
    const auto keep = static_cast<std::uint8_t>(k == kLAStatusChannel ? ~status::CK : 0xFF);
    for (int i = 1; i < 5; ++i) {
      const bool changes = (c.At(k, i - 1) & keep) != (c.At(k, i) & keep);
      EXPECT_EQ(changes, i == 2 || i == 4) << "channel " << k << " sample " << i;
    }
  }
}

TEST(LACapture, FullHistoryAfterTheSlide) {
  DefaultMachine d;
  d.Load({0x10, 0x11, 0x12});  // a few instructions, then zeros
  for (int step = 0; step < 300; ++step) d.m.MicroStep();
  ASSERT_EQ(d.m.history.Count(), 256);
  LASamples samples;
  EXPECT_EQ(samples.Capture(d.m, true), 511);
  samples.CopyToDisplay();
  ASSERT_EQ(samples.LASampleCount(), 511);
  const MachineState& oldest = d.m.history[0].state;
  const MachineState& newest = d.m.history.Newest().state;
  for (int k = 0; k < kLAChannelCount; ++k) {
    if (k == kLAStatusChannel) continue;
    EXPECT_EQ(samples.LASample(k, 0), oldest[kLAChannelSources[k]]) << k;
    EXPECT_EQ(samples.LASample(k, 510), newest[kLAChannelSources[k]]) << k;
  }
  EXPECT_EQ(samples.LASample(kLAStatusChannel, 510), newest[Field::STATUS] | status::CK);
  EXPECT_EQ(samples.LASample(kLAStatusChannel, 1), oldest[Field::STATUS] & ~status::CK);
  // The record itself keeps its own clock bit.
  EXPECT_EQ(newest[Field::STATUS] & status::CK, 0);
  samples.LASample(0, 511);
  EXPECT_TRUE(samples.LAPastEnd());
}

TEST(LACapture, ReadsOutsideTheDataHoldNothing) {
  Captured c;
  c.Records(3);
  for (int index : {-1, -512, 5, 6, 511, 100000}) {
    EXPECT_EQ(c.At(0, index), 0) << index;
    EXPECT_TRUE(c.samples.LAPastEnd()) << index;
  }
  EXPECT_EQ(c.At(0, 4), 6);  // record 2's IBUS: tag 6 + channel 0
  EXPECT_FALSE(c.samples.LAPastEnd());
  c.At(0, 5);
  c.At(0, 0);
  EXPECT_FALSE(c.samples.LAPastEnd());
}

TEST(LACapture, NewSamplesShowOnlyAfterTheCopy) {
  Captured c;
  c.Records(3);
  c.m.history.Append(Tagged(100));
  EXPECT_EQ(c.samples.Capture(c.m, false), 7);
  EXPECT_EQ(c.samples.LASampleCount(), 5);
  c.samples.CopyToDisplay();
  EXPECT_EQ(c.samples.LASampleCount(), 7);
  EXPECT_EQ(c.At(3, 6), 103);
}

TEST(LACapture, NeverAllocates) {
  DefaultMachine d;
  for (int step = 0; step < 300; ++step) d.m.MicroStep();
  LASamples samples;
  const long before = test::Allocations();
  samples.Capture(d.m, true);
  samples.CopyToDisplay();
  samples.Capture(d.m, false);
  EXPECT_EQ(test::Allocations(), before);
}

// The step-timing bits of a record at micro-address uPC, from the micro-program's group.
struct TimingCase {
  const char* name;
  std::uint32_t cells[4];  // uM 0x40 .. 0x43
  std::uint8_t upc;
  std::uint8_t rt;  // RT1 RT0 as bits 1, 0
};

class LAStepTiming : public ::testing::TestWithParam<TimingCase> {};

constexpr std::uint32_t kStep = 0xFFFFF7;   // asserts AEN only
constexpr std::uint32_t kFetch = 0xFBFFFF;  // asserts IREN

TEST_P(LAStepTiming, RecomputedInSimulation) {
  const TimingCase& c = GetParam();
  Machine m;
  m.uM.fill(kEmptyCell);
  for (int i = 0; i < 4; ++i) m.uM[0x40 + i] = c.cells[i];
  m.StepCountTable.fill(0xEE);  // stale: the capture rebuilds it from uM
  TraceRecord r;
  r.state[Field::uPC] = c.upc;
  r.state[Field::STATUS] = 0xF9;  // everything set but RT1 RT0
  m.history.Clear();
  m.history.Append(r);
  LASamples samples;
  samples.Capture(m, true);
  samples.CopyToDisplay();
  const std::uint8_t expected = 0xF9 | (c.rt & 1 ? status::RT0 : 0) | (c.rt & 2 ? status::RT1 : 0);
  EXPECT_EQ(m.history[0].state[Field::STATUS], expected) << "the record changes in place";
  EXPECT_EQ(samples.LASample(kLAStatusChannel, 0), expected | status::CK);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, LAStepTiming,
    ::testing::Values(
        // T(40H) = 3, uPC 41H: v = 2.
        TimingCase{"ThreeLeft", {kStep, kStep, kStep, kFetch}, 0x41, 0b10},
        // T(40H) = 0 (its word fetches): v would be -1, so 0.
        TimingCase{"GroupStartsWithFetch", {kFetch, kStep, kStep, kFetch}, 0x41, 0b00},
        // T(40H) = 4: v = 4 shows as 00.
        TimingCase{"FourLeft", {kStep, kStep, kStep, kStep}, 0x40, 0b00},
        // T(40H) = 2, uPC 43H: below zero.
        TimingCase{"BelowZero", {kStep, kStep, kFetch, kFetch}, 0x43, 0b00},
        // An empty word with a high byte still counts; only the whole cell 00FFFFFFH is
        // skipped.
        TimingCase{"EmptyWordWithHighByteCounts", {kStep, 0xFFFFFFFF, kStep, kFetch}, 0x40, 0b11},
        TimingCase{"EmptyCellSkipped", {kStep, kEmptyCell, kStep, kFetch}, 0x40, 0b10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LAStepTiming, TheBoxsBitsStay) {
  Machine m;
  m.uM.fill(kStep);
  TraceRecord r;
  r.state[Field::uPC] = 0x41;
  r.state[Field::STATUS] = 0x06;  // RT1 RT0 = 11 as the box reported them
  m.history.Clear();
  m.history.Append(r);
  LASamples samples;
  samples.Capture(m, /*simulation=*/false);
  samples.CopyToDisplay();
  EXPECT_EQ(m.history[0].state[Field::STATUS], 0x06);
  EXPECT_EQ(samples.LASample(kLAStatusChannel, 0), 0x07);
}

TEST(LAStepTiming, RuleOnItsOwn) {
  StepCounts T{};
  T[0x40] = 3;
  EXPECT_EQ(WithStepTiming(0x00, 0x41, T), status::RT1);
  EXPECT_EQ(WithStepTiming(0xFF, 0x41, T), 0xFF & ~status::RT0);
  T[0x40] = 0;
  EXPECT_EQ(WithStepTiming(0xFF, 0x41, T), 0xF9);
  T[0x40] = 5;  // 5 - 3 = 2
  EXPECT_EQ(WithStepTiming(0x00, 0x43, T), status::RT1);
}

}  // namespace
}  // namespace edumac8
