// Rows in cells: what a cell says about its samples at each zoom, where the bus values go, and
// that the cell list holds a row of any width.
#include "la/la_cells.h"

#include <gtest/gtest.h>

#include <cmath>

#include "la_test_support.h"

namespace edumac8 {
namespace {

using test::CaptureValues;

constexpr int kIbus = 0;
constexpr int kStatus = kLAStatusChannel;

std::vector<CellKind> Kinds(std::span<const LACell> cells) {
  std::vector<CellKind> kinds;
  for (const LACell& c : cells) kinds.push_back(c.kind);
  return kinds;
}

TEST(LAZoomLevels, ScalesCodesAndCells) {
  EXPECT_EQ(PixelScaleOf(13), 16);
  EXPECT_EQ(PixelScaleOf(9), 1);
  EXPECT_EQ(PixelScaleOf(0), 1.0 / 512);
  EXPECT_EQ(ZoomCodeOf(16), -16);
  EXPECT_EQ(ZoomCodeOf(13), -2);
  EXPECT_EQ(ZoomCodeOf(9), 8);
  EXPECT_EQ(ZoomCodeOf(0), 4096);
  struct Row {
    int code;
    CellGeometry g;
  };
  for (const Row& r : {Row{-16, {128, 1, 128, 1}}, Row{-2, {16, 1, 16, 1}}, Row{1, {8, 1, 8, 1}},
                       Row{2, {8, 2, 4, 1}}, Row{4, {8, 4, 2, 1}}, Row{8, {8, 8, 1, 1}},
                       Row{64, {8, 64, 1, 8}}, Row{4096, {8, 4096, 1, 512}}}) {
    const CellGeometry g = CellGeometryOf(r.code);
    EXPECT_EQ(g.busWidth, r.g.busWidth) << r.code;
    EXPECT_EQ(g.busSamples, r.g.busSamples) << r.code;
    EXPECT_EQ(g.bitWidth, r.g.bitWidth) << r.code;
    EXPECT_EQ(g.bitSamples, r.g.bitSamples) << r.code;
  }
  EXPECT_EQ(FollowLead(6), 1920);
  EXPECT_EQ(FollowLead(13), 20);
  EXPECT_EQ(FollowLead(16), 2);
}

TEST(LACells, Level13SteadyBusShowsItsValueOnceCentred) {
  LASamples samples;
  CaptureValues(samples, Field::IBUS, {0x5A, 0x5A, 0x5A, 0x5A, 0x5A});  // 9 samples
  LACellList list;
  list.SizeFor(200);
  const CellGeometry g = CellGeometryOf(ZoomCodeOf(13));
  const int n = list.CellsFor(200, g.busWidth);
  EXPECT_EQ(n, 14);  // ceiling(200 / 16) + 1
  const auto cells = list.BuildBusCells(samples, kIbus, 0, g.busSamples, n);
  ASSERT_EQ(cells.size(), 15u);
  EXPECT_EQ(cells[0].kind, CellKind::NoData);
  // From sample 0 the row starts from a value of 0: the first cell crosses to 5AH.
  EXPECT_EQ(cells[1].kind, CellKind::Change);
  for (int i = 2; i <= 9; ++i) EXPECT_EQ(cells[i].kind, CellKind::Steady) << i;
  for (int i = 10; i <= 14; ++i) EXPECT_EQ(cells[i].kind, CellKind::NoData) << i;

  const int textWidth = 16;
  std::vector<std::pair<int, int>> labels;
  ForEachBusLabel(cells, g.busWidth, textWidth,
                  [&](int x, std::uint8_t v) { labels.emplace_back(x, v); });
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0].second, 0x5A);
  // The lines run from the row's start over half a cell and eight whole ones.
  const double runCentre = (0.5 + 8) * g.busWidth / 2;
  EXPECT_NEAR(labels[0].first + textWidth / 2.0, runCentre, g.busWidth / 2.0);
}

TEST(LACells, ValuesCentredBetweenCrossings) {
  // A crossing is drawn in the middle of its cell: cell c >= 2 has it at (c - 1) * w.
  const int w = 16, tw = 16;
  using K = CellKind;
  const std::vector<LACell> cells = {{K::NoData, 0}, {K::Steady, 1}, {K::Steady, 1}, {K::Change, 2},
                                     {K::Steady, 2}, {K::Steady, 2}, {K::Steady, 2}, {K::Change, 3},
                                     {K::Change, 4}, {K::Steady, 4}, {K::Steady, 4}, {K::Steady, 4},
                                     {K::NoData, 0}, {K::NoData, 0}};
  std::vector<std::pair<int, int>> labels;
  ForEachBusLabel(cells, w, tw, [&](int x, std::uint8_t v) { labels.emplace_back(x, v); });
  // Value 1: from the start to the crossing of cell 3; 2: crossings 3 to 7; 3: crossings 7 to
  // 8, one cell, too narrow for "EE" plus 8; 4: from crossing 8 on, ending in no data after
  // other values, so not written.
  ASSERT_EQ(labels.size(), 2u);
  EXPECT_EQ(labels[0].second, 1);
  EXPECT_EQ(labels[0].first + tw / 2, (0 + 2 * w) / 2);
  EXPECT_EQ(labels[1].second, 2);
  EXPECT_EQ(labels[1].first + tw / 2, (2 * w + 6 * w) / 2);
}

TEST(LACells, RunPastTheRightEdgeCountsAsData) {
  using K = CellKind;
  const std::vector<LACell> cells = {{K::NoData, 0}, {K::Steady, 7}, {K::Change, 8},
                                     {K::Steady, 8}, {K::Steady, 8}, {K::Steady, 8}};
  std::vector<int> values;
  ForEachBusLabel(cells, 16, 16, [&](int, std::uint8_t v) { values.push_back(v); });
  EXPECT_EQ(values, std::vector<int>({8}));
}

TEST(LACells, Level9CrossingOnAnyChangeValueIsTheLast) {
  LASamples samples;
  // Records of two samples each: cell 1 covers samples 0-7 (records 0-3), cell 2 samples
  // 8-15 (records 4-7), cell 3 samples 16-23.
  CaptureValues(samples, Field::IBUS,
                {1, 1, 1, 1, /*cell 2*/ 1, 1, 9, 4, /*cell 3*/ 4, 4, 4, 4, /*partial*/ 4});
  LACellList list;
  list.SizeFor(64);
  const CellGeometry g = CellGeometryOf(ZoomCodeOf(9));
  ASSERT_EQ(g.busSamples, 8);
  const auto cells = list.BuildBusCells(samples, kIbus, 0, g.busSamples, 5);
  ASSERT_EQ(cells.size(), 6u);
  EXPECT_EQ(cells[1].kind, CellKind::Change);  // from the 0 before sample 0
  EXPECT_EQ(cells[1].value, 1);
  EXPECT_EQ(cells[2].kind, CellKind::Change);
  EXPECT_EQ(cells[2].value, 4);  // the cell's last sample, not the 9 in between
  EXPECT_EQ(cells[3].kind, CellKind::Steady);
  EXPECT_EQ(cells[3].value, 4);
  // Samples 24 (the last) to 31: the cell's last sample lies past the data.
  EXPECT_EQ(cells[4].kind, CellKind::NoData);
  EXPECT_EQ(cells[5].kind, CellKind::NoData);

  // From a view start inside the data, entry 0 holds the sample before it.
  const auto later = list.BuildBusCells(samples, kIbus, 12, g.busSamples, 2);
  EXPECT_EQ(later[0].value, 1);
  EXPECT_EQ(later[1].kind, CellKind::Change);
}

TEST(LACells, BitLinesCompareLevels) {
  LASamples samples;
  CaptureValues(samples, Field::IBUS, {0x80, 0x80, 0x80});  // bit 7 steadily high
  LACellList list;
  list.SizeFor(100);
  const auto high = list.BuildBitCells(samples, kIbus, 7, 0, 1, 6);
  EXPECT_EQ(Kinds(high),
            (std::vector<CellKind>{CellKind::NoData, CellKind::High, CellKind::High, CellKind::High,
                                   CellKind::High, CellKind::High, CellKind::NoData}));
  EXPECT_EQ(high[1].value, 1);
  const auto low = list.BuildBitCells(samples, kIbus, 0, 0, 1, 2);
  EXPECT_EQ(low[1].kind, CellKind::Low);

  // The clock: high, low, high ... one sample per bit cell at level 13.
  LASamples clock;
  CaptureValues(clock, Field::STATUS, {0x00, 0x00, 0x00});
  const auto ck = list.BuildBitCells(clock, kStatus, 0, 0, 1, 6);
  EXPECT_EQ(Kinds(ck), (std::vector<CellKind>{CellKind::NoData, CellKind::High, CellKind::FallFrom,
                                              CellKind::RiseFrom, CellKind::FallFrom,
                                              CellKind::RiseFrom, CellKind::NoData}));
  // Two samples per cell: every cell changes; each starts at the level the one before ended.
  const auto wide = list.BuildBitCells(clock, kStatus, 0, 0, 2, 3);
  EXPECT_EQ(wide[1].kind, CellKind::FallFrom);
  EXPECT_EQ(wide[2].kind, CellKind::RiseFrom);
  EXPECT_EQ(wide[3].kind, CellKind::NoData);  // samples 4 and 5: 5 lies past the data
}

TEST(LACells, EmptyCaptureIsAllNoData) {
  LASamples samples;
  CaptureValues(samples, Field::IBUS, {});
  LACellList list;
  list.SizeFor(50);
  for (const LACell& c : list.BuildBusCells(samples, kIbus, 0, 1, 4))
    EXPECT_EQ(c.kind, CellKind::NoData);
  for (const LACell& c : list.BuildBitCells(samples, kIbus, 3, 0, 1, 4))
    EXPECT_EQ(c.kind, CellKind::NoData);
}

// Rows of every width up to 3840 pixels at every level fit the list sized for that width.
TEST(LACells, EveryWidthFitsItsList) {
  Machine m;
  for (int j = 0; j < 256; ++j) {
    TraceRecord r;
    r.state[Field::IBUS] = static_cast<std::uint8_t>(j * 37);
    m.history.Append(r);
  }
  LASamples samples;
  samples.Capture(m, false);
  samples.CopyToDisplay();
  LACellList list;
  for (int width : {1, 2, 7, 8, 9, 100, 1999, 2000, 2001, 2048, 3839, 3840}) {
    list.SizeFor(width);
    for (int level = kLAMinLevel; level <= kLAMaxLevel; ++level) {
      const CellGeometry g = CellGeometryOf(ZoomCodeOf(level));
      for (int cellWidth : {g.busWidth, g.bitWidth}) {
        const int n = list.CellsFor(width, cellWidth);
        EXPECT_EQ(n, (width + cellWidth - 1) / cellWidth + 1) << width << " " << level;
        for (int start : {0, 300, 512}) {
          EXPECT_EQ(list.BuildBusCells(samples, kIbus, start, g.busSamples, n).size(),
                    std::size_t(n) + 1);
          EXPECT_EQ(list.BuildBitCells(samples, kIbus, 7, start, g.bitSamples, n).size(),
                    std::size_t(n) + 1);
        }
      }
    }
  }
}

}  // namespace
}  // namespace edumac8
