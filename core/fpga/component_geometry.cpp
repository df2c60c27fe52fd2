#include "fpga/component_geometry.h"

#include "fpga/board_mode.h"

namespace edumac8 {
namespace {

constexpr int kControlWidth = 62;
constexpr int kVisualHeight = 47;
constexpr int kLabelHeight = 18;

}  // namespace

ComponentGeometry GeometryOf(int kind, int x, int y) {
  switch (EffectiveKind(kind)) {
    case kLed:
      return {{x + 20, y + 1, 22, 22}, {x + 1, y + 25, kControlWidth, kLabelHeight}};
    case kTwoDigits:
    case kTwoDigitsWithLeds:
    case kSegmentDigit:
      return {{x + 1, y + 1, kControlWidth, kVisualHeight},
              {x + 1, y + 49, kControlWidth, kLabelHeight}};
    case kEightDigits:
      return {{x + 1, y + 1, 200, kVisualHeight}, {x + 1, y + 49, 200, kLabelHeight}};
    case kButton:
      return {{x + 15, y + 1, 32, 32}, {x + 1, y + 35, kControlWidth, kLabelHeight}};
    default:
      return {{kOffBoard, kOffBoard, kControlWidth, kVisualHeight},
              {kOffBoard, kOffBoard, kControlWidth, kLabelHeight}};
  }
}

BoardRect PictureRect(int kind) {
  switch (EffectiveKind(kind)) {
    case kLed:
      return {0, 0, 20, 20};
    case kTwoDigits:
    case kTwoDigitsWithLeds:
    case kSegmentDigit:
      return {0, 0, 64, 47};
    case kEightDigits:
      return {0, 0, 200, 47};
    case kButton:
      return {0, 0, 32, 32};
    default:
      return {};
  }
}

BoardRect PreviewRect(int kind, int x, int y) {
  return {x, y, kind == kEightDigits ? 208 : 64, 64};
}

ColumnGeometry ColumnGeometryOf(int i) {
  const int left = 100 * i + 8;
  return {{left, 6, 92, 30},
          {4, 2, 84, 26},
          {left, 38, 92, 22},
          {100 * i + 30, 64, 32, 32},
          {left, 98, 92, 22}};
}

}  // namespace edumac8
