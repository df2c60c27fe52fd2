// The analyser window's state: zoom buttons, "Zoom All", the zoom box, the cursor, the name
// column and which record the cursor designates.
#include "la/la_view.h"

#include <gtest/gtest.h>

namespace edumac8 {
namespace {

// A view whose sample area is `area` pixels wide.
LAView ViewWithArea(int area, int level) {
  LAView v;
  v.Resize(area + 8 + v.NameWidth, 400);
  v.ApplyZoomLevel(level);
  return v;
}

TEST(LAView, CreatedAtLevel13) {
  const LAView v;
  EXPECT_EQ(v.Level(), 13);
  EXPECT_EQ(v.PixelScale, 16);
  EXPECT_EQ(v.ZoomCode, -2);
  EXPECT_EQ(v.NameWidth, 88);
  EXPECT_EQ(v.ZoomAllLevel, 0xFFFF);
}

TEST(LAView, ZoomButtonsStopAtTheirLimits) {
  LAView v = ViewWithArea(512, 16);
  EXPECT_FALSE(v.ZoomIn());
  EXPECT_EQ(v.Level(), 16);
  v.ApplyZoomLevel(9);
  EXPECT_TRUE(v.ZoomOut());
  EXPECT_EQ(v.Level(), 8);
  EXPECT_FALSE(v.ZoomOut());
  EXPECT_EQ(v.Level(), 8);
  v.ApplyZoomLevel(3);  // only the box and "Zoom All" go this low
  EXPECT_FALSE(v.ZoomOut());
  EXPECT_TRUE(v.ZoomIn());
  EXPECT_EQ(v.Level(), 4);
}

TEST(LAView, ZoomAllTwiceRestores) {
  for (int level : {0, 9, 13, 16}) {
    LAView v = ViewWithArea(512, level);
    v.ViewStart = 77;
    v.ZoomAll();
    EXPECT_EQ(v.Level(), 8) << level;  // 512 samples in 512 pixels: the level below fits
    EXPECT_EQ(v.ViewStart, 0);
    EXPECT_EQ(v.ZoomAllLevel, level);
    v.ZoomAll();
    EXPECT_EQ(v.Level(), level);
    EXPECT_EQ(v.PixelScale, PixelScaleOf(level));
    EXPECT_EQ(v.ViewStart, 77);
    EXPECT_EQ(v.ZoomAllLevel, 0xFFFF);
  }
}

TEST(LAView, ZoomAllKeepsToTheLevels) {
  struct Case {
    int area;
    int level;
  };
  for (const Case& c : {Case{1000, 9}, Case{1024, 9}, Case{1025, 10}, Case{2, 0}, Case{1, 0},
                        Case{0, 0}, Case{-50, 0}, Case{512 * 64, 14}, Case{512 * 129, 16}}) {
    LAView v = ViewWithArea(c.area, 13);
    v.ZoomAll();
    EXPECT_EQ(v.Level(), c.level) << c.area;
    EXPECT_GT(v.PixelScale, 0) << c.area;
    EXPECT_EQ(v.PixelScale, PixelScaleOf(c.level)) << c.area;
  }
}

TEST(LAView, ZoomBox) {
  // Six pixels drawn right to left at level 16 in 512: a scale of 1.5, level 10.
  LAView v = ViewWithArea(512, 16);
  const int y = 100;
  ASSERT_EQ(v.Press(v.NameWidth + 300, y), LAView::Drag::ZoomBox);
  v.Move(v.NameWidth + 294, y, true);
  v.Release();
  EXPECT_EQ(v.Level(), 10);
  EXPECT_EQ(v.ViewStart, 0);

  // Five pixels change nothing.
  v.Press(v.NameWidth + 300, y);
  v.Move(v.NameWidth + 305, y, true);
  v.Release();
  EXPECT_EQ(v.Level(), 10);
  EXPECT_EQ(v.Dragging(), LAView::Drag::None);

  // Left to right at level 13 (16 pixels per sample): the box's first sample leads.
  v.ApplyZoomLevel(13);
  v.ViewStart = 5;
  v.Press(v.NameWidth + 160, y);
  v.Move(v.NameWidth + 224, y, true);  // 64 pixels: 512 * 16 / 64 = 128, level 16
  v.Release();
  EXPECT_EQ(v.ViewStart, 15);
  EXPECT_EQ(v.Level(), 16);

  // At one pixel per several samples the start grows by samples per pixel.
  v.ApplyZoomLevel(6);  // 8 samples per pixel
  v.ViewStart = 0;
  v.Press(v.NameWidth + 50, y);
  v.Move(v.NameWidth + 114, y, true);
  v.Release();
  EXPECT_EQ(v.ViewStart, 400);
  EXPECT_EQ(v.Level(), 9);  // 512 / 8 / 64 = 1

  // Far right at a coarse level the start stays within the samples' range.
  v.ApplyZoomLevel(0);
  v.ViewStart = 0;
  v.Press(v.NameWidth + 400, y);
  v.Move(v.NameWidth + 500, y, true);
  v.Release();
  EXPECT_EQ(v.ViewStart, LAView::kMaxViewStart);
}

TEST(LAView, ZoomBoxCornerStaysInTheSampleArea) {
  LAView v = ViewWithArea(512, 13);
  v.Press(v.NameWidth + 100, 100);
  v.Move(v.NameWidth + 200, 100, true);
  v.Move(5, 100, true);  // over the names: the box keeps its last corner
  EXPECT_EQ(v.ZoomBoxCornerX(), v.NameWidth + 200);
}

TEST(LAView, NameColumnBorderStopsAt20And100) {
  LAView v = ViewWithArea(512, 13);
  EXPECT_TRUE(v.OnNameBorder(89, 30));
  EXPECT_FALSE(v.OnNameBorder(90, 30));
  EXPECT_FALSE(v.OnNameBorder(88, 20));
  ASSERT_EQ(v.Press(87, 40), LAView::Drag::Names);
  v.Move(127, 40, true);
  EXPECT_EQ(v.NameWidth, 100);
  v.Move(0, 40, true);
  EXPECT_EQ(v.NameWidth, 20);
  v.Move(30, 40, true);
  EXPECT_EQ(v.NameWidth, 50);
  v.Release();
  EXPECT_EQ(v.Cols, (v.BitmapWidth() - 50 - 8) / 10);
  v.Move(100, 40, false);
  EXPECT_EQ(v.NameWidth, 50);
}

TEST(LAView, CursorSnapsToTheBitCells) {
  LAView v = ViewWithArea(1000, 6);  // 8 samples per pixel
  v.ViewStart = 3;
  v.CursorSample = 100;
  v.PlaceCursor();
  EXPECT_TRUE(v.CursorVisible);
  EXPECT_EQ(v.CursorX, 12);
  EXPECT_EQ(v.CursorSample, 99);
  v.PlaceCursor();
  EXPECT_EQ(v.CursorSample, 99);

  v.ApplyZoomLevel(13);
  v.ViewStart = 0;
  v.CursorSample = 7;
  v.PlaceCursor();
  EXPECT_EQ(v.CursorX, 112);
  EXPECT_EQ(v.CursorFlag.left, v.NameWidth + 102);
  EXPECT_EQ(v.CursorFlag.bottom, 20);

  v.CursorSample = 1000 / 16 + 5;  // beyond the area's last sample
  v.PlaceCursor();
  EXPECT_FALSE(v.CursorVisible);
}

TEST(LAView, CursorDragAndRelease) {
  LAView v = ViewWithArea(400, 13);
  v.CursorSample = 2;
  v.PlaceCursor();
  const int x = v.NameWidth + v.CursorX;
  ASSERT_EQ(v.Press(x, 10), LAView::Drag::Cursor);
  v.Move(x + 41, 10, true);
  EXPECT_EQ(v.CursorX, 73);
  EXPECT_EQ(v.CursorSample, 4);
  v.Release();
  EXPECT_EQ(v.CursorX, 64);  // snapped when the drag ends
  EXPECT_EQ(v.CursorSample, 4);
  v.Press(v.NameWidth + v.CursorX, 10);
  v.Move(v.NameWidth + 5000, 10, true);
  EXPECT_EQ(v.CursorX, v.Cols * 10);
  v.Move(-5000, 10, true);
  EXPECT_EQ(v.CursorX, 0);
  v.Release();
  // A press beside the flag begins nothing.
  EXPECT_EQ(v.Press(v.NameWidth + v.CursorX + 10, 10), LAView::Drag::None);
}

TEST(LAView, FollowKeepsTheLead) {
  LAView v = ViewWithArea(1000, 13);
  v.CursorSample = 510;
  EXPECT_TRUE(v.Follow());
  EXPECT_EQ(v.ViewStart, 490);
  v.CursorSample = 10;
  v.ViewStart = 3;
  EXPECT_FALSE(v.Follow());
  EXPECT_EQ(v.ViewStart, 3);
  for (int level = 0; level <= 5; ++level) {
    v.ApplyZoomLevel(level);
    v.ViewStart = 0;
    v.CursorSample = 510;
    EXPECT_FALSE(v.Follow()) << level;
    EXPECT_EQ(v.ViewStart, 0);
  }
  v.ResetView();
  EXPECT_EQ(v.CursorSample, 0);
  EXPECT_EQ(v.ViewStart, 0);
}

TEST(LAView, DoubleClickBands) {
  LAChannelTable channels = InitLAChannels();
  LayOutRows(channels);
  const LAView v = ViewWithArea(512, 13);
  // STATUS at start: expanded, but its band is still that of a bus row.
  EXPECT_EQ(v.ChannelAt(channels, 40, 157), 5);
  EXPECT_EQ(v.ChannelAt(channels, 40, 200), std::nullopt);
  EXPECT_EQ(v.ChannelAt(channels, 3, 157), std::nullopt);
  EXPECT_EQ(v.ChannelAt(channels, 88, 157), std::nullopt);
  EXPECT_EQ(v.ChannelAt(channels, 40, 31), std::nullopt);  // the band begins below Top + 6
  EXPECT_EQ(v.ChannelAt(channels, 40, 32), 0);
  // IN below the expanded STATUS.
  EXPECT_EQ(channels[23].Top, 740);
  EXPECT_EQ(v.ChannelAt(channels, 40, 750), 23);
}

TEST(LAView, RecordAtCursor) {
  EXPECT_EQ(RecordAtCursor(7, 11, 6), 3);
  EXPECT_EQ(RecordAtCursor(0, 11, 6), 0);
  EXPECT_EQ(RecordAtCursor(10, 11, 6), 5);
  EXPECT_EQ(RecordAtCursor(11, 11, 6), 5);  // past the data: the newest record
  EXPECT_EQ(RecordAtCursor(400, 11, 6), 5);
  EXPECT_EQ(RecordAtCursor(0, 0, 0), std::nullopt);
  EXPECT_EQ(RecordAtCursor(9, 11, 3), 2);  // the history shrank since the capture
}

}  // namespace
}  // namespace edumac8
