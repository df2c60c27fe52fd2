// Sample buffers filled from made-up trace records, for the analyser's tests.
#pragma once

#include <vector>

#include "la/la_samples.h"

namespace edumac8::test {

// One trace record per value: `field` holds the value, every other byte 0. Captured as the
// box's records, so STATUS stays as given.
inline void CaptureValues(LASamples& samples, Field field,
                          const std::vector<std::uint8_t>& values) {
  Machine m;
  m.history.Clear();
  for (std::uint8_t v : values) {
    TraceRecord r;
    r.state[field] = v;
    m.history.Append(r);
  }
  samples.Capture(m, /*simulation=*/false);
  samples.CopyToDisplay();
}

}  // namespace edumac8::test
