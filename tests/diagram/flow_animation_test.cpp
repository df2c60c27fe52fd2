// The structure diagram's picture tick by tick.
#include "diagram/flow_animation.h"

#include <gtest/gtest.h>

#include "support/machine_fixture.h"

using namespace edumac8;
using edumac8::test::Word;
using S = Signal;
using B = BlockId;

namespace {

SegmentColour SegmentOf(const FlowAnimation& a, char name) { return a.Segment(SegmentIndex(name)); }

// Segments of a kind in a colour, by name.
std::string SegmentsIn(const FlowAnimation& a, SegmentColour colour) {
  std::string names;
  for (int i = 0; i < kSegmentCount; ++i)
    if (a.Segment(i) == colour) names += Segments()[i].name;
  return names;
}

std::string Sorted(std::string s) {
  std::sort(s.begin(), s.end());
  return s;
}

std::string AllData() {
  std::string names;
  for (const BusSegment& s : Segments())
    if (s.kind == SegmentKind::Data) names += s.name;
  return names;
}

// X = 100 (ALU straight) into A: D to A along "gGFQRSs".
const DecodedWord kDToA{Word({S::AEN}, 4), 0, 0};

}  // namespace

TEST(FlowAnimation, FetchWordLightsPathsAndAnimatesNothing) {
  FlowAnimation a;
  a.Decode({0xCBFFFF, 0, 0});
  EXPECT_FALSE(a.Running());
  EXPECT_EQ(Sorted(SegmentsIn(a, SegmentColour::Fuchsia)), "Zz");
  EXPECT_EQ(Sorted(SegmentsIn(a, SegmentColour::Aqua)), "enr");
  EXPECT_EQ(SegmentsIn(a, SegmentColour::Lime), "");
  EXPECT_EQ(a.Frame(B::EM), FrameColour::Red);
  EXPECT_EQ(a.Frame(B::IR), FrameColour::Yellow);
  EXPECT_EQ(a.Frame(B::uPC), FrameColour::Yellow);
  EXPECT_FALSE(a.Tick());
}

TEST(FlowAnimation, RouteGrowsOneSegmentPerTickWhileTheFramesBlink) {
  FlowAnimation a;
  a.Decode(kDToA);
  ASSERT_TRUE(a.Running());
  EXPECT_EQ(a.BlinkCount(), FlowAnimation::kRouteBlinks);
  EXPECT_EQ(a.RouteQueue(), "gGFQRSs");
  EXPECT_EQ(a.SourceBlock(), B::D);
  EXPECT_EQ(a.DestinationBlock(), B::A);
  const std::string route = "gGFQRSs";
  for (int tick = 1; tick <= 12; ++tick) {
    SCOPED_TRACE(tick);
    const bool goesOn = a.Tick();
    EXPECT_EQ(goesOn, tick < 12);
    EXPECT_EQ(a.BlinkCount(), 12 - tick);
    const bool lit = a.BlinkCount() % 2 == 0;
    EXPECT_EQ(a.Frame(B::D), lit ? FrameColour::Red : FrameColour::Gray);
    EXPECT_EQ(a.Frame(B::A), lit ? FrameColour::Yellow : FrameColour::Gray);
    const std::size_t drawn = std::min<std::size_t>(tick, route.size());
    EXPECT_EQ(Sorted(SegmentsIn(a, SegmentColour::Lime)), Sorted(route.substr(0, drawn)));
  }
  EXPECT_FALSE(a.Running());
  EXPECT_FALSE(a.Tick());
  EXPECT_EQ(a.Frame(B::D), FrameColour::Red);
  EXPECT_EQ(a.Frame(B::A), FrameColour::Yellow);
}

TEST(FlowAnimation, SixteenSegmentRouteOutlastsTheBlinking) {
  FlowAnimation a;
  a.Decode({Word({S::RRD, S::RWR}), 0x02, 0});  // R2 to R2
  ASSERT_EQ(a.RouteQueue(), "lLKJIHGFQRSTUVWw");
  int ticks = 0;
  while (a.Tick()) ++ticks;
  EXPECT_EQ(ticks, 16) << "one segment per tick; the next tick finds nothing left to do";
  EXPECT_EQ(Sorted(SegmentsIn(a, SegmentColour::Lime)), Sorted("lLKJIHGFQRSTUVWw"));
  EXPECT_EQ(a.Frame(B::R2), FrameColour::Yellow) << "source and destination are one block";
}

TEST(FlowAnimation, WholeBusBlinksTwentyTicks) {
  FlowAnimation a;
  a.SetShowWholeBus(true);
  a.Decode(kDToA);
  EXPECT_EQ(Sorted(SegmentsIn(a, SegmentColour::Lime)), Sorted(AllData()));
  EXPECT_EQ(a.BlinkCount(), FlowAnimation::kWholeBusBlinks);
  EXPECT_EQ(a.RouteQueue(), "");
  int ticks = 1;
  while (a.Tick()) ++ticks;
  EXPECT_EQ(ticks, 20);
  EXPECT_EQ(a.Frame(B::D), FrameColour::Red);
}

TEST(FlowAnimation, SourceWithoutDestination) {
  const DecodedWord drivesOnly{Word({}, 4), 0, 0};
  FlowAnimation route;
  route.Decode(drivesOnly);
  EXPECT_FALSE(route.Running()) << "nothing to animate along a route";
  EXPECT_EQ(SegmentsIn(route, SegmentColour::Lime), "");
  EXPECT_EQ(route.Frame(B::D), FrameColour::Red);

  FlowAnimation whole;
  whole.SetShowWholeBus(true);
  whole.Decode(drivesOnly);
  ASSERT_TRUE(whole.Running());
  EXPECT_EQ(Sorted(SegmentsIn(whole, SegmentColour::Lime)), Sorted(AllData()));
  EXPECT_FALSE(whole.DestinationBlock());
  whole.Tick();
  EXPECT_EQ(whole.Frame(B::D), FrameColour::Gray) << "the source blinks";
  int ticks = 1;
  while (whole.Tick()) ++ticks;
  EXPECT_EQ(ticks, 19);
}

TEST(FlowAnimation, ADecodeMidAnimationRestarts) {
  FlowAnimation a;
  a.Decode(kDToA);
  a.Tick();
  a.Tick();
  a.Tick();
  a.Decode({Word({S::OUTEN}, 0), 0, 0});  // IN to OUT
  EXPECT_EQ(a.RouteQueue(), "oPp");
  EXPECT_EQ(a.BlinkCount(), 12);
  EXPECT_EQ(SegmentsIn(a, SegmentColour::Lime), "");
  EXPECT_EQ(a.Frame(B::D), FrameColour::Gray);
  EXPECT_EQ(a.Frame(B::A), FrameColour::Gray);
  EXPECT_EQ(a.Frame(B::IN), FrameColour::Red);
  a.Tick();
  EXPECT_EQ(SegmentsIn(a, SegmentColour::Lime), "o");
}

TEST(FlowAnimation, UntakenJumpNeverFramesPcButStillAnimatesItsRoute) {
  // JZ with Z clear: EM drives the bus, ELP asks for PC, the jump is not taken.
  FlowAnimation a;
  a.Decode({Word({S::EMEN, S::EMRD, S::PCOE, S::ELP}), 0xB4, 0});
  ASSERT_EQ(a.DestinationBlock(), B::PC);
  const std::string route = a.Routes()[Index(B::EM)][Index(B::PC)];
  ASSERT_FALSE(route.empty());
  EXPECT_EQ(a.RouteQueue(), route);
  do {
    EXPECT_EQ(a.Frame(B::PC), FrameColour::Gray) << "blink " << a.BlinkCount();
  } while (a.Tick());
  EXPECT_EQ(a.Frame(B::PC), FrameColour::Gray);
  EXPECT_EQ(SegmentOf(a, route.back()), SegmentColour::Lime);

  a.Decode({Word({S::EMEN, S::EMRD, S::PCOE, S::ELP}), 0xB4, flag::RZ});
  EXPECT_EQ(a.Frame(B::PC), FrameColour::Yellow) << "taken";
}

TEST(FlowAnimation, ToggleWholeBusRedecodesTheShownTransfer) {
  FlowAnimation a;
  a.Decode(kDToA);
  a.Tick();
  a.SetShowWholeBus(true);
  EXPECT_EQ(a.BlinkCount(), 20);
  EXPECT_EQ(Sorted(SegmentsIn(a, SegmentColour::Lime)), Sorted(AllData()));
  a.SetShowWholeBus(false);
  EXPECT_EQ(a.RouteQueue(), "gGFQRSs");
  EXPECT_EQ(SegmentsIn(a, SegmentColour::Lime), "");

  FlowAnimation fresh;
  fresh.SetShowWholeBus(true);
  EXPECT_FALSE(fresh.Running()) << "nothing decoded yet, nothing to show";
}
