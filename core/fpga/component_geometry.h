// Where the board window puts a component's two controls, its preview and the bottom row's
// columns, in pixels on the drawing area (columns: on the bottom panel).
#pragma once

namespace edumac8 {

struct BoardRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const BoardRect&) const = default;
  bool Contains(int px, int py) const {
    return px >= x && py >= y && px < x + width && py < y + height;
  }
};

// `visual` shows the picture, `label` the signal name. A placeholder's controls lie outside
// the drawing area.
struct ComponentGeometry {
  BoardRect visual;
  BoardRect label;
};
ComponentGeometry GeometryOf(int kind, int x, int y);

inline constexpr int kOffBoard = 9999;

// The picture a kind shows (width, height); empty for the placeholder.
BoardRect PictureRect(int kind);

// The red dotted preview while placing: 64 x 64, 208 wide for the eight-digit display.
BoardRect PreviewRect(int kind, int x, int y);

// Column i (0-7) of the bottom panel.
struct ColumnGeometry {
  BoardRect portBox;   // panel holding the port's edit box
  BoardRect portEdit;  // inside portBox
  BoardRect portLabel;
  BoardRect key;
  BoardRect keyLabel;
};
ColumnGeometry ColumnGeometryOf(int i);

inline constexpr int kToolColumnWidth = 110;
inline constexpr int kBottomPanelHeight = 123;
inline constexpr int kBoardWindowWidth = 992;
inline constexpr int kBoardWindowHeight = 678;

}  // namespace edumac8
