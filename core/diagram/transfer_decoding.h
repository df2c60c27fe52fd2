// What a micro-word does on the structure diagram: the data transfer it makes (the block that
// drives the data bus and the block loaded from it) and the highlights of every signal it
// asserts (lit paths, red source frames, yellow destination frames).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "diagram/flow_layout.h"

namespace edumac8 {

// The word and the parts of the machine state the decoding looks at.
struct DecodedWord {
  std::uint32_t word = 0xFFFFFF;
  std::uint8_t IR = 0;
  std::uint8_t F = 0;  // the latched flags RCy and RZ decide a conditional jump
};

enum class FrameColour : std::uint8_t { Gray, Red, Yellow };

struct TransferHighlights {
  // Register codes; kNoRegister when no block drives or no block is loaded.
  std::uint8_t source = kNoRegister;
  std::uint8_t destination = kNoRegister;
  // A conditional PC load that will not happen frames PC nowhere, blinking included.
  bool jumpTaken = false;
  bool instructionPath = false;
  bool pcAddressPath = false;
  bool marAddressPath = false;
  std::array<FrameColour, kBlockCount> frames{};
};

// The register code of the data-bus source X2 X1 X0 (kNoRegister for 111).
std::uint8_t SourceRegister(std::uint32_t word);
// Whether a PC load by ELP happens with these IR and flags.
bool JumpConditionHolds(std::uint8_t ir, std::uint8_t flags);

TransferHighlights DecodeWord(const DecodedWord& decoded);

}  // namespace edumac8
