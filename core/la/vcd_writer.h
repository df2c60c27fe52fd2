// The analyser's samples as a Value Change Dump for waveform viewers: one time unit per sample
// (half a micro-step, CK high at even times), every variable a wire directly in module
// EDUMAC8. ASCII with CR LF line ends.
#pragma once

#include <optional>
#include <string>

#include "la/la_samples.h"

namespace edumac8 {

enum class VcdForm {
  // The 25 channels as 8-bit vectors, then the named bits of STATUS, MH, MM, ML and F as
  // 1-bit wires (61 variables).
  Vectors,
  // Every named bit of every channel as a 1-bit wire, no vectors (196 variables): viewers
  // that read only 1-bit variables take all of it.
  Bits,
};

// The dump of the displayed samples.
std::string VcdText(const LASamples& samples, VcdForm form);

// Writes the dump atomically; on failure returns "写文件错误：" and the path, and whatever
// was at the path stays as it was.
std::optional<std::string> WriteVcdFile(const std::string& path, const LASamples& samples,
                                        VcdForm form);

}  // namespace edumac8
