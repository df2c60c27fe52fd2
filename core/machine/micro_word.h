// The 24-bit micro-word: one bit per control signal, active low except CN.
#pragma once

#include <cstdint>

namespace edumac8 {

enum class Signal : std::uint8_t {
  S0 = 0, S1, S2, AEN, WEN, X0, X1, X2,
  FEN, CN, RWR, RRD, STEN, OUTEN, MAROE, MAREN,
  ELP, EINT, IREN, EMEN, PCOE, EMRD, EMWR, XRD,
};

constexpr std::uint32_t kWordMask = 0xFFFFFF;
// The cell value of an empty micro-word as the system writes it.
constexpr std::uint32_t kEmptyCell = 0x00FFFFFF;

constexpr bool Bit(std::uint32_t w, Signal s) { return (w >> static_cast<int>(s)) & 1; }

// True when the micro-word asserts the signal (bit 0; for CN bit 1).
constexpr bool Asserted(std::uint32_t w, Signal s) {
  return s == Signal::CN ? Bit(w, s) : !Bit(w, s);
}

constexpr unsigned AluCode(std::uint32_t w) { return w & 7; }
constexpr unsigned SourceCode(std::uint32_t w) { return (w >> 5) & 7; }  // X2 X1 X0

constexpr bool IsEmptyWord(std::uint32_t cell) { return (cell & kWordMask) == kWordMask; }

// Names of bits 0..23, as the micro-program window, the VHDL and the analyser show them.
const char* SignalName(int bit);

}  // namespace edumac8
