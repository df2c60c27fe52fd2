// The shared records of the model machine: the 48-byte state block (bytes 0-31 in the layout
// of the box's state reply), the program memory EM, the micro-program store uM and the trace
// record.
#pragma once

#include <array>
#include <cstdint>

namespace edumac8 {

// Byte offsets within MachineState.
enum class Field : std::uint8_t {
  R0 = 0, R1 = 1, R2 = 2, R3 = 3, A = 4, W = 5, PC = 6, uPC = 7, IR = 8, F = 9, ST = 10,
  IN = 11, OUT = 12, MAR = 13, IA = 14, ML = 15, MM = 16, MH = 17, D = 18, L = 19, R = 20,
  BoxStatus = 22, DBusDrivers = 23, IBusDrivers = 24, ABusDrivers = 25, DBUS = 26, IBUS = 27,
  ABUS = 28, STATUS = 29, EMData = 30, BoxFetchAddr = 31,
};

// Bits of F.
namespace flag {
constexpr std::uint8_t RCy = 0x80;  // carry, latched
constexpr std::uint8_t RZ = 0x40;   // zero, latched
constexpr std::uint8_t Cy = 0x20;   // carry of this step
constexpr std::uint8_t CZ = 0x10;   // zero of this step
}  // namespace flag

// Bits of STATUS.
namespace status {
constexpr std::uint8_t CK = 0x01;
constexpr std::uint8_t RT0 = 0x02;
constexpr std::uint8_t RT1 = 0x04;
constexpr std::uint8_t PCInc = 0x08;  // PC+1
constexpr std::uint8_t ELPC = 0x10;
constexpr std::uint8_t ICOE = 0x20;
constexpr std::uint8_t IACK = 0x40;
constexpr std::uint8_t IREQ = 0x80;
}  // namespace status

struct MachineState {
  std::array<std::uint8_t, 48> bytes{};

  std::uint8_t& operator[](Field f) { return bytes[static_cast<std::size_t>(f)]; }
  std::uint8_t operator[](Field f) const { return bytes[static_cast<std::size_t>(f)]; }
  bool operator==(const MachineState&) const = default;
};

using ProgramMemory = std::array<std::uint8_t, 256>;     // EM
using MicroProgram = std::array<std::uint32_t, 256>;     // uM
using StepCounts = std::array<std::uint8_t, 256>;        // StepCountTable

struct TraceRecord {
  ProgramMemory EM{};
  MachineState state;
  std::uint16_t reserved16 = 0;
  std::uint8_t reserved8 = 0;
  bool operator==(const TraceRecord&) const = default;
};

// The micro-word that the state block holds in MH MM ML.
inline std::uint32_t WordOf(const MachineState& s) {
  return s[Field::MH] << 16 | s[Field::MM] << 8 | s[Field::ML];
}

}  // namespace edumac8
