#include "la/la_samples.h"

namespace edumac8 {

LASamples::LASamples()
    : capture_(std::make_unique<Buffer>()), display_(std::make_unique<Buffer>()) {}

std::uint8_t WithStepTiming(std::uint8_t status, std::uint8_t upc, const StepCounts& T) {
  std::uint8_t v = static_cast<std::uint8_t>(T[upc & 0xFC] - (upc & 3));
  if (v >= 0xFC) v = 0;  // the subtraction went below zero
  std::uint8_t timed = status & ~(status::RT0 | status::RT1);
  if (v & 1) timed |= status::RT0;
  if (v & 2) timed |= status::RT1;
  return timed;
}

int LASamples::Capture(Machine& machine, bool simulation) {
  if (simulation) machine.BuildStepCountTable();
  Buffer& samples = *capture_;
  const int n = machine.history.Count();
  for (int j = 0; j < n; ++j) {
    MachineState& s = machine.history[j].state;
    if (simulation)
      s[Field::STATUS] = WithStepTiming(s[Field::STATUS], s[Field::uPC], machine.StepCountTable);
    for (int k = 0; k < kLAChannelCount; ++k) {
      const std::uint8_t byte = s[kLAChannelSources[k]];
      std::uint8_t* at = samples.data() + k * kSamplesPerChannel + 2 * j;
      const bool clock = k == kLAStatusChannel;
      at[0] = clock ? byte | status::CK : byte;
      at[1] = clock ? byte & ~status::CK : byte;
    }
  }
  captureCount_ = n > 0 ? 2 * n - 1 : 0;
  return captureCount_;
}

void LASamples::CopyToDisplay() {
  *display_ = *capture_;
  displayCount_ = captureCount_;
}

}  // namespace edumac8
