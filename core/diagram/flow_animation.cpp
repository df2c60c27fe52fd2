#include "diagram/flow_animation.h"

namespace edumac8 {

FlowAnimation::FlowAnimation() : routes_(BuildRoutes()) {}

void FlowAnimation::Paint(std::string_view segments, SegmentColour colour) {
  for (char name : segments) segments_[SegmentIndex(name)] = colour;
}

void FlowAnimation::Decode(const DecodedWord& decoded) {
  decoded_ = decoded;
  decodedOnce_ = true;
  const TransferHighlights h = DecodeWord(decoded);

  frames_ = h.frames;
  segments_.fill(SegmentColour::Teal);
  if (h.instructionPath) Paint(kInstructionPath, SegmentColour::Fuchsia);
  if (h.pcAddressPath) Paint(kPcAddressPath, SegmentColour::Aqua);
  if (h.marAddressPath) Paint(kMarAddressPath, SegmentColour::Aqua);

  running_ = false;
  blinkCount_ = 0;
  route_.clear();
  drawn_ = 0;
  source_ = BlockOfRegister(h.source);
  destination_ = BlockOfRegister(h.destination);
  // PC is loaded only when the jump is taken; otherwise it is never framed.
  frameDestination_ = destination_ && (*destination_ != BlockId::PC || h.jumpTaken);
  if (source_ && (destination_ || showWholeBus_)) {
    StartTransfer();
  } else {
    source_.reset();
    destination_.reset();
  }
}

void FlowAnimation::StartTransfer() {
  if (showWholeBus_) {
    for (int i = 0; i < kSegmentCount; ++i)
      if (Segments()[i].kind == SegmentKind::Data) segments_[i] = SegmentColour::Lime;
    blinkCount_ = kWholeBusBlinks;
  } else {
    blinkCount_ = kRouteBlinks;
    if (destination_) route_ = routes_[Index(*source_)][Index(*destination_)];
  }
  running_ = true;
}

void FlowAnimation::FrameTransfer(bool lit) {
  if (source_) frames_[Index(*source_)] = lit ? FrameColour::Red : FrameColour::Gray;
  if (destination_ && frameDestination_)
    frames_[Index(*destination_)] = lit ? FrameColour::Yellow : FrameColour::Gray;
}

bool FlowAnimation::Tick() {
  if (!running_) return false;
  if (blinkCount_ > 0) --blinkCount_;
  FrameTransfer(blinkCount_ % 2 == 0);
  if (!showWholeBus_ && drawn_ < route_.size()) {
    segments_[SegmentIndex(route_[drawn_++])] = SegmentColour::Lime;
    return true;
  }
  if (blinkCount_ > 0) return true;
  running_ = false;
  return false;
}

void FlowAnimation::SetShowWholeBus(bool whole) {
  if (whole == showWholeBus_) return;
  showWholeBus_ = whole;
  if (decodedOnce_) Decode(decoded_);
}

}  // namespace edumac8
