// The bus network of the structure diagram and the routes found in it.
#include "diagram/routes.h"

#include <gtest/gtest.h>

#include <set>

using namespace edumac8;

namespace {

bool Touch(const DrawRect& a, const DrawRect& b) {
  return a.left <= b.right() && b.left <= a.right() && a.top <= b.bottom() && b.top <= a.bottom();
}
bool Overlap(const DrawRect& a, const DrawRect& b) {
  return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

const std::string& Route(const RouteTable& routes, BlockId from, BlockId to) {
  return routes[Index(from)][Index(to)];
}

}  // namespace

TEST(Routes, CountAndExamples) {
  const RouteTable routes = BuildRoutes();
  int count = 0;
  for (const auto& row : routes)
    for (const std::string& route : row) count += !route.empty();
  EXPECT_EQ(count, 129);

  struct Example {
    BlockId from, to;
    const char* route;
  };
  using B = BlockId;
  for (const Example& e :
       {Example{B::IA, B::ST, "aBb"}, Example{B::IN, B::OUT, "oPp"},
        Example{B::R0, B::ST, "jJIHGFEDCb"}, Example{B::IA, B::R0, "aBCDEQRSTUVWXYy"},
        Example{B::L, B::EM, "fFQq"}, Example{B::R0, B::R0, "jJIHGFQRSTUVWXYy"},
        Example{B::D, B::A, "gGFQRSs"}, Example{B::R2, B::R2, "lLKJIHGFQRSTUVWw"},
        Example{B::ST, B::ST, ""}, Example{B::PC, B::PC, ""}, Example{B::EM, B::EM, ""},
        Example{B::MAR, B::A, ""}, Example{B::A, B::MAR, ""}})
    EXPECT_EQ(Route(routes, e.from, e.to), e.route)
        << BlockOf(e.from).name << "->" << BlockOf(e.to).name;
}

TEST(Routes, EveryRouteJoinsItsStubsThroughLinkedDataSegments) {
  const RouteTable routes = BuildRoutes();
  for (const BlockSpec& from : Blocks()) {
    for (const BlockSpec& to : Blocks()) {
      const std::string& route = Route(routes, from.id, to.id);
      if (route.empty()) continue;
      SCOPED_TRACE(std::string(from.name) + "->" + to.name + " " + route);
      EXPECT_EQ(route.front(), from.sourceStub);
      EXPECT_EQ(route.back(), to.destinationStub);
      EXPECT_EQ(std::set<char>(route.begin(), route.end()).size(), route.size()) << "repeats";
      for (std::size_t i = 0; i < route.size(); ++i) {
        const BusSegment& s = Segments()[SegmentIndex(route[i])];
        EXPECT_EQ(s.kind, SegmentKind::Data);
        if (i > 0) {
          EXPECT_TRUE(Linked(Segments()[SegmentIndex(route[i - 1])], s));
        }
        // Never a detour: no segment is linked to one two places back.
        if (i > 1) {
          EXPECT_FALSE(Linked(Segments()[SegmentIndex(route[i - 2])], s));
        }
      }
    }
  }
}

TEST(Routes, NetworkOfFiftyNineNamedSegments) {
  std::set<char> names;
  for (const BusSegment& s : Segments()) {
    names.insert(s.name);
    EXPECT_TRUE(s.from.x == s.to.x || s.from.y == s.to.y) << s.name << " is not straight";
  }
  EXPECT_EQ(names.size(), 59u);
  EXPECT_EQ(SegmentIndex('?'), -1);
  // A segment covers x1-2 … x2+1 and y1-2 … y2+1 whichever way it is written.
  EXPECT_EQ(SegmentRect(Segments()[SegmentIndex('s')]), (DrawRect{327, 193, 4, 13}));
  EXPECT_EQ(SegmentRect(Segments()[SegmentIndex('A')]), (DrawRect{10, 10, 41, 4}));
}

TEST(Routes, StubsMeetTheirBlocksWithoutEnteringThem) {
  for (const BlockSpec& b : Blocks()) {
    for (char stub : {b.sourceStub, b.destinationStub}) {
      if (!stub) continue;
      const DrawRect s = SegmentRect(Segments()[SegmentIndex(stub)]);
      EXPECT_TRUE(Touch(s, b.flow)) << stub << " stops short of " << b.name;
      EXPECT_FALSE(Overlap(s, b.flow)) << stub << " enters " << b.name;
    }
  }
  // The address and instruction paths meet the blocks they join.
  const auto rectOf = [](char name) { return SegmentRect(Segments()[SegmentIndex(name)]); };
  EXPECT_TRUE(Touch(rectOf('n'), BlockOf(BlockId::PC).flow));
  EXPECT_TRUE(Touch(rectOf('i'), BlockOf(BlockId::MAR).flow));
  EXPECT_TRUE(Touch(rectOf('Z'), BlockOf(BlockId::uPC).flow));
  EXPECT_TRUE(Touch(rectOf('z'), BlockOf(BlockId::EM).flow));
}

TEST(Routes, RegisterCodesNameTheirBlocks) {
  using B = BlockId;
  struct Case {
    std::uint8_t code;
    std::optional<BlockId> block;
  };
  for (const Case& c : {Case{0, B::R0},
                        Case{3, B::R3},
                        Case{4, B::A},
                        Case{5, B::W},
                        Case{6, B::PC},
                        Case{7, B::uPC},
                        Case{8, B::IR},
                        Case{9, std::nullopt},
                        Case{10, B::ST},
                        Case{11, B::IN},
                        Case{12, B::OUT},
                        Case{13, B::MAR},
                        Case{14, B::IA},
                        Case{15, B::uM},
                        Case{17, B::uM},
                        Case{18, B::D},
                        Case{19, B::L},
                        Case{20, B::R},
                        Case{21, std::nullopt},
                        Case{26, B::DBUS},
                        Case{27, B::IBUS},
                        Case{28, B::ABUS},
                        Case{30, B::EM},
                        Case{31, std::nullopt},
                        Case{kNoRegister, std::nullopt}})
    EXPECT_EQ(BlockOfRegister(c.code), c.block) << int(c.code);
}
