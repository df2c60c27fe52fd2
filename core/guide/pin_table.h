// The wiring pins of the experiment box as the graphic help draws them. Pins 0-23 are the
// outputs of the 24 micro-word switches (pin i carries bit i, above switch i); every other
// pin is a control input of the block beside it, named by the signal it expects. A wiring
// step joins a switch output to the input of the same name.
#pragma once

#include <string_view>

namespace edumac8 {

constexpr int kPinCount = 70;
constexpr int kSwitchPins = 24;

// Operation masks: bits 0-23 are the switches, bits 28-31 the two key indicators (bits
// 31-30 the clock key above pin 50, bits 29-28 the interrupt key above pin 51: 10 = press,
// 01 = release). Bits 24-27 mean nothing.
constexpr unsigned kUnusedMaskBits = 0x0F000000u;

struct Pin {
  std::string_view signal;  // the signal's name
  std::string_view block;   // the block the pin belongs to (Chinese)
};

// Pin `n`; an empty pin for numbers outside 0-69.
Pin PinAt(int n);

}  // namespace edumac8
