// The analyser's sample buffers: 25 channels of 512 one-byte samples, two per trace record
// (the record's byte with CK high, then the same byte with CK low). The capture fills
// LACapture from the trace history; the copy into LADisplay makes the new samples visible,
// so the window and the VCD writer read a consistent set without touching the machine.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "la/la_channels.h"
#include "machine/machine.h"

namespace edumac8 {

class LASamples {
 public:
  static constexpr int kSamplesPerChannel = 2 * TraceHistory::kCapacity;

  LASamples();  // the only allocation of the buffers

  // The capture: every history record becomes samples 2j and 2j + 1; LASampleCount is then
  // 2n - 1 for n records (the newest record shows only its clock-high sample), 0 for none.
  // In simulation it first rebuilds StepCountTable from uM and writes RT0/RT1 into the STATUS
  // of every record; with the box executing the records keep what the box reported.
  // Never allocates. Returns the new sample count.
  int Capture(Machine& machine, bool simulation);
  // The captured samples and their count become the displayed ones.
  void CopyToDisplay();

  int LASampleCount() const { return displayCount_; }

  // A displayed sample. An index outside 0 .. LASampleCount - 1 holds no data: it reads 0 and
  // sets LAPastEnd; any other index clears it.
  std::uint8_t LASample(int channel, int index) {
    pastEnd_ = index < 0 || index >= displayCount_;
    return pastEnd_ ? 0 : (*display_)[channel * kSamplesPerChannel + index];
  }
  bool LAPastEnd() const { return pastEnd_; }

  // The valid displayed samples of a channel, oldest first.
  std::span<const std::uint8_t> Channel(int channel) const {
    return {display_->data() + channel * kSamplesPerChannel,
            static_cast<std::size_t>(displayCount_)};
  }

 private:
  using Buffer = std::array<std::uint8_t, kLAChannelCount * kSamplesPerChannel>;
  std::unique_ptr<Buffer> capture_;  // LACapture
  std::unique_ptr<Buffer> display_;  // LADisplay
  int captureCount_ = 0;
  int displayCount_ = 0;
  bool pastEnd_ = false;
};

// `status` with RT1 RT0 set to the steps that remain of the instruction at micro-address
// `upc`: v = T(upc AND FCH) - (upc AND 3) in 8 bits, 0 when that went below zero.
std::uint8_t WithStepTiming(std::uint8_t status, std::uint8_t upc, const StepCounts& T);

}  // namespace edumac8
