// The state of the structure diagram's picture, tick by tick: the colour of every bus segment
// and every block frame, and the transfer animation (the route growing from the source one
// segment per tick while the frames blink). The view draws exactly this state on every paint,
// so a page switch, a resize or an expose never loses a frame or a lit path.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "diagram/routes.h"
#include "diagram/transfer_decoding.h"

namespace edumac8 {

enum class SegmentColour : std::uint8_t { Teal, Lime, Aqua, Fuchsia };

class FlowAnimation {
 public:
  static constexpr int kTickMilliseconds = 200;
  // Ticks of blinking: a route, and the whole data bus.
  static constexpr int kRouteBlinks = 12;
  static constexpr int kWholeBusBlinks = 20;

  FlowAnimation();

  // Decodes a micro-word and restarts the picture from it: frames and paths of every asserted
  // signal, then the transfer's animation when there is one to show.
  void Decode(const DecodedWord& decoded);
  // One tick of the animation timer. False once the animation has finished (the timer stops).
  bool Tick();
  bool Running() const { return running_; }

  // The whole data bus lights up instead of the route; the shown transfer is decoded again.
  void SetShowWholeBus(bool whole);
  bool ShowWholeBus() const { return showWholeBus_; }

  SegmentColour Segment(int index) const { return segments_[index]; }
  FrameColour Frame(BlockId id) const { return frames_[Index(id)]; }
  int BlinkCount() const { return blinkCount_; }
  // The segments of the route not yet drawn.
  std::string_view RouteQueue() const { return std::string_view(route_).substr(drawn_); }
  std::optional<BlockId> SourceBlock() const { return source_; }
  std::optional<BlockId> DestinationBlock() const { return destination_; }
  const DecodedWord& Decoded() const { return decoded_; }
  const RouteTable& Routes() const { return routes_; }

 private:
  void Paint(std::string_view segments, SegmentColour colour);
  void FrameTransfer(bool lit);
  void StartTransfer();

  RouteTable routes_;
  bool showWholeBus_ = false;
  DecodedWord decoded_;
  bool decodedOnce_ = false;
  std::array<SegmentColour, kSegmentCount> segments_{};
  std::array<FrameColour, kBlockCount> frames_{};
  std::optional<BlockId> source_, destination_;
  bool frameDestination_ = false;
  int blinkCount_ = 0;
  std::string route_;
  std::size_t drawn_ = 0;
  bool running_ = false;
};

}  // namespace edumac8
