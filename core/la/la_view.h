// The analyser window's state apart from its pixels: zoom level, scrolling, the cursor "Cur",
// the width of the name column, "Zoom All" and what the held left button is doing. All
// positions are in pixels of the drawing bitmap, whose sample area runs from NameWidth to
// the bitmap's width less 8 and from y = 20 to Rows * 10 + 20.
#pragma once

#include <optional>

#include "la/la_cells.h"

namespace edumac8 {

struct LARect {
  int left, top, right, bottom;
  bool ContainsStrictly(int x, int y) const {
    return left < x && x < right && top < y && y < bottom;
  }
};

class LAView {
 public:
  static constexpr int kInitialNameWidth = 88;
  static constexpr int kMinNameWidth = 20;
  static constexpr int kMaxNameWidth = 100;
  static constexpr int kInitialLevel = 13;  // 16 pixels per sample
  static constexpr int kNoZoomAll = 0xFFFF;
  static constexpr int kMaxViewStart = LASamples::kSamplesPerChannel;
  static constexpr int kNarrowestZoomBox = 5;  // pixels; a box no wider changes no zoom

  enum class Drag { None, Names, Cursor, ZoomBox };

  LAView() { ApplyZoomLevel(kInitialLevel); }

  // The drawing bitmap's size; recomputes Cols and Rows.
  void Resize(int bitmapWidth, int bitmapHeight);
  int BitmapWidth() const { return bitmapWidth_; }
  int BitmapHeight() const { return bitmapHeight_; }
  // Width of the sample area in pixels.
  int SampleAreaWidth() const { return bitmapWidth_ - 8 - NameWidth; }
  // The sample area's bottom edge: rows below it are scrolled out of view.
  int VisibleBottom() const { return Rows * 10 + 20; }

  int Level() const { return level_; }
  void ApplyZoomLevel(int level);
  CellGeometry Geometry() const { return CellGeometryOf(ZoomCode); }

  // Whether the cursor lies in view and, unless it is being dragged, its x snapped to the
  // grid of bit cells; also places the cursor's flag.
  void PlaceCursor();
  // Follows the cursor: the view starts the level's lead before it. At levels 0-5 all the
  // samples fit in view and it stays put. Returns whether ViewStart moved.
  bool Follow();
  // Cursor and view back to sample 0.
  void ResetView();

  // The zoom buttons: in up to level 16, out down to level 8. Return whether the level moved.
  bool ZoomIn();
  bool ZoomOut();
  // Toggles between the largest level at which all samples fit (ViewStart 0) and the level
  // and ViewStart it saved.
  void ZoomAll();

  // The left button went down at (x, y): resizing the names near their border, a zoom box in
  // the sample area, or dragging the cursor by its flag. Returns what began.
  Drag Press(int x, int y);
  // The pointer moved to (x, y), the left button held or not.
  void Move(int x, int y, bool leftHeld);
  // Any button came up: a dragged cursor snaps, a zoom box wider than 5 pixels zooms. The
  // caller then brings HBar to ViewStart.
  void Release();
  Drag Dragging() const { return drag_; }
  int LastX() const { return lastX_; }
  int LastY() const { return lastY_; }
  int ZoomBoxAnchorX() const { return anchorX_; }
  int ZoomBoxAnchorY() const { return anchorY_; }
  int ZoomBoxCornerX() const { return cornerX_; }
  int ZoomBoxCornerY() const { return cornerY_; }

  bool OnNameBorder(int x, int y) const;
  bool InNameColumn(int x, int y) const;
  bool InSampleArea(int x, int y) const;
  // The channel whose name band holds the point, for a double-click; none when outside.
  std::optional<int> ChannelAt(const LAChannelTable& channels, int x, int y) const;

  int ViewStart = 0;  // first sample shown
  int VOffset = 0;    // minus VBar's position
  int NameWidth = kInitialNameWidth;
  double PixelScale = 1;  // pixels per sample
  int ZoomCode = 0;
  int Cols = 0;
  int Rows = 0;
  int CursorSample = 0;
  int CursorX = 0;  // from the sample area's left edge
  bool CursorVisible = false;
  LARect CursorFlag{};
  int ZoomAllLevel = kNoZoomAll;
  int ZoomAllStart = 0;

 private:
  // Samples per pixel for the cursor arithmetic of one-pixel bit cells.
  int SamplesPerPixel() const;
  void ApplyZoomBox();

  int level_ = kInitialLevel;
  int bitmapWidth_ = 0;
  int bitmapHeight_ = 0;
  Drag drag_ = Drag::None;
  int lastX_ = 0, lastY_ = 0;
  int anchorX_ = 0, anchorY_ = 0, cornerX_ = 0, cornerY_ = 0;
};

// The trace record that the cursor designates: the record whose two samples it covers; the
// newest record when it stands at or beyond the last sample; none when the history is empty.
std::optional<int> RecordAtCursor(int cursorSample, int sampleCount, int traceCount);

}  // namespace edumac8
