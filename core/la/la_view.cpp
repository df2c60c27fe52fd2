#include "la/la_view.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace edumac8 {
namespace {

constexpr int kZoomOutFloor = 8;  // lower levels only through the zoom box and "Zoom All"
constexpr double kMinScale = 1.0 / 512;
constexpr double kMaxScale = 128;

// The level for a scale, when a zoom box or "Zoom All" asks for one.
int SmallestLevelReaching(double scale) {
  for (int level = kLAMinLevel; level < kLAMaxLevel; ++level)
    if (PixelScaleOf(level) >= scale) return level;
  return kLAMaxLevel;
}

}  // namespace

void LAView::Resize(int bitmapWidth, int bitmapHeight) {
  bitmapWidth_ = bitmapWidth;
  bitmapHeight_ = bitmapHeight;
  Cols = (bitmapWidth - NameWidth - 8) / 10;
  Rows = (bitmapHeight - 28) / 10;
}

void LAView::ApplyZoomLevel(int level) {
  level_ = std::clamp(level, kLAMinLevel, kLAMaxLevel);
  PixelScale = PixelScaleOf(level_);
  ZoomCode = ZoomCodeOf(level_);
}

int LAView::SamplesPerPixel() const {
  return std::max(1, static_cast<int>(std::lround(1 / PixelScale)));
}

void LAView::PlaceCursor() {
  const int w = Geometry().bitWidth;
  const int shown = static_cast<int>(std::max(Cols, 0) * 10 / PixelScale);
  CursorVisible = ViewStart <= CursorSample && CursorSample < ViewStart + shown;
  if (CursorVisible && drag_ != Drag::Cursor) {
    const int offset = CursorSample - ViewStart;
    CursorX = w == 1 ? offset / std::max(1, static_cast<int>(1 / PixelScale)) : offset * w;
    CursorX = (CursorX + w / 2) / w * w;
    CursorSample = w > 1 ? CursorX / w + ViewStart : SamplesPerPixel() * CursorX + ViewStart;
  }
  const int x = CursorX + NameWidth;
  CursorFlag = {x - 10, 5, x + 10, 20};
}

bool LAView::Follow() {
  // Up to level 5 every sample fits in view: following would put the view's start on the
  // cursor and leave the rows blank.
  if (level_ <= 5) return false;
  const int lead = FollowLead(level_);
  if (lead >= CursorSample) return false;
  ViewStart = std::min(CursorSample - lead, kMaxViewStart);
  return true;
}

void LAView::ResetView() {
  CursorSample = 0;
  CursorX = 0;
  ViewStart = 0;
}

bool LAView::ZoomIn() {
  if (level_ >= kLAMaxLevel) return false;
  ApplyZoomLevel(level_ + 1);
  return true;
}

bool LAView::ZoomOut() {
  if (level_ <= kZoomOutFloor) return false;
  ApplyZoomLevel(level_ - 1);
  return true;
}

void LAView::ZoomAll() {
  if (ZoomAllLevel != kNoZoomAll) {
    ApplyZoomLevel(ZoomAllLevel);
    ZoomAllLevel = kNoZoomAll;
    ViewStart = ZoomAllStart;
    return;
  }
  ZoomAllLevel = level_;
  ZoomAllStart = ViewStart;
  ViewStart = 0;
  const double scale = static_cast<double>(SampleAreaWidth()) / LASamples::kSamplesPerChannel;
  // One level below the one whose scale reaches the area's: the largest at which all 512
  // samples fit. Outside the levels' range the nearest end applies; a scale of 0 or less (a
  // sample area squeezed to nothing) must not become the scale the rows are drawn at.
  if (scale <= kMinScale)
    ApplyZoomLevel(kLAMinLevel);
  else if (scale > kMaxScale)
    ApplyZoomLevel(kLAMaxLevel);
  else
    ApplyZoomLevel(SmallestLevelReaching(scale) - 1);
}

bool LAView::OnNameBorder(int x, int y) const { return std::abs(x - NameWidth) < 2 && y > 20; }

bool LAView::InNameColumn(int x, int y) const {
  return 0 < x && x < NameWidth && 20 < y && y < bitmapHeight_ - 8;
}

bool LAView::InSampleArea(int x, int y) const {
  return NameWidth < x && x < bitmapWidth_ - 8 && 20 < y && y < bitmapHeight_ - 8;
}

LAView::Drag LAView::Press(int x, int y) {
  lastX_ = x;
  lastY_ = y;
  if (OnNameBorder(x, y)) {
    drag_ = Drag::Names;
  } else if (InSampleArea(x, y)) {
    drag_ = Drag::ZoomBox;
    anchorX_ = cornerX_ = x;
    anchorY_ = cornerY_ = y;
  } else if (CursorVisible && CursorFlag.ContainsStrictly(x, y)) {
    drag_ = Drag::Cursor;
  } else {
    drag_ = Drag::None;
  }
  return drag_;
}

void LAView::Move(int x, int y, bool leftHeld) {
  const int dX = x - lastX_;
  if (leftHeld) {
    switch (drag_) {
      case Drag::Names:
        NameWidth = std::clamp(NameWidth + dX, kMinNameWidth, kMaxNameWidth);
        Resize(bitmapWidth_, bitmapHeight_);
        break;
      case Drag::Cursor: {
        CursorX = std::clamp(CursorX + dX, 0, std::max(Cols, 0) * 10);
        const int w = Geometry().bitWidth;
        CursorSample = w > 1 ? CursorX / w + ViewStart : SamplesPerPixel() * CursorX + ViewStart;
        break;
      }
      case Drag::ZoomBox:
        if (InSampleArea(x, y)) {
          cornerX_ = x;
          cornerY_ = y;
        }
        break;
      case Drag::None:
        break;
    }
  }
  lastX_ = x;
  lastY_ = y;
}

void LAView::Release() {
  const Drag ended = drag_;
  drag_ = Drag::None;
  if (ended == Drag::Cursor) PlaceCursor();
  if (ended == Drag::ZoomBox) ApplyZoomBox();
}

void LAView::ApplyZoomBox() {
  const int boxWidth = std::abs(anchorX_ - cornerX_);
  if (boxWidth <= kNarrowestZoomBox) return;
  const int area = std::max(SampleAreaWidth(), 1);
  double scale;
  if (anchorX_ < cornerX_) {  // drawn left to right: the box's samples fill the area
    const int w = Geometry().bitWidth;
    const int left = anchorX_ - NameWidth;
    ViewStart += w > 1 ? left / w : SamplesPerPixel() * left;
    scale = area * PixelScale / boxWidth;
  } else {  // right to left: the area shrinks into the box
    scale = PixelScale * boxWidth / area;
  }
  ViewStart = std::clamp(ViewStart, 0, kMaxViewStart);
  ApplyZoomLevel(SmallestLevelReaching(std::clamp(scale, kMinScale, kMaxScale)));
}

std::optional<int> LAView::ChannelAt(const LAChannelTable& channels, int x, int y) const {
  if (!(3 < x && x < NameWidth)) return std::nullopt;
  for (int k = 0; k < kLAChannelCount; ++k) {
    const int top = channels[k].Top + 6 + VOffset;
    if (top < y && y < top + channels[k].HitHeight) return k;
  }
  return std::nullopt;
}

std::optional<int> RecordAtCursor(int cursorSample, int sampleCount, int traceCount) {
  if (traceCount <= 0) return std::nullopt;
  if (cursorSample < 0 || cursorSample >= sampleCount) return traceCount - 1;
  return std::min(cursorSample / 2, traceCount - 1);
}

}  // namespace edumac8
