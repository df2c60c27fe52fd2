// The colours of the structure diagram and the graphic help. Areas, segments, frames and paths
// are drawn without antialiasing, so their pixels have exactly these values.
#pragma once

#include <QColor>

#include "diagram/flow_animation.h"

namespace edumac8::colours {

inline const QColor kGray{0x80, 0x80, 0x80};
inline const QColor kTeal{0x00, 0x80, 0x80};
inline const QColor kLime{0x00, 0xFF, 0x00};
inline const QColor kRed{0xFF, 0x00, 0x00};
inline const QColor kYellow{0xFF, 0xFF, 0x00};
inline const QColor kAqua{0x00, 0xFF, 0xFF};
inline const QColor kFuchsia{0xFF, 0x00, 0xFF};
inline const QColor kMaroon{0x80, 0x00, 0x00};
inline const QColor kSilver{0xC0, 0xC0, 0xC0};
inline const QColor kGreen{0x00, 0x80, 0x00};
inline const QColor kNavy{0x00, 0x00, 0x80};
inline const QColor kWhite{0xFF, 0xFF, 0xFF};
inline const QColor kBlack{0x00, 0x00, 0x00};
// Block faces and the page around a drawing area.
inline const QColor kFace{0xE4, 0xE4, 0xE4};
inline const QColor kPressedFace{0xCC, 0xCC, 0xCC};
inline const QColor kShadow{0x40, 0x40, 0x40};
inline const QColor kPage{0xF0, 0xF0, 0xF0};

inline QColor Of(SegmentColour c) {
  switch (c) {
    case SegmentColour::Lime:
      return kLime;
    case SegmentColour::Aqua:
      return kAqua;
    case SegmentColour::Fuchsia:
      return kFuchsia;
    case SegmentColour::Teal:
      break;
  }
  return kTeal;
}

inline QColor Of(FrameColour c) {
  switch (c) {
    case FrameColour::Red:
      return kRed;
    case FrameColour::Yellow:
      return kYellow;
    case FrameColour::Gray:
      break;
  }
  return kGray;
}

}  // namespace edumac8::colours
