// The one skeleton from which both generated VHDL files are written: every line in order,
// marked with the file it belongs to, and the places where generated lines go.
#pragma once

#include <cstdint>
#include <span>

namespace edumac8::vhdl {

enum class Target : std::uint8_t { Both, Micro, Combinational };

enum class Piece : std::uint8_t {
  Line,             // the fixed text
  RegisterFamily,   // the ten register processes
  MicroProgramRom,  // the 256 ROM lines
  ControlDecoders,  // the 24 decoders of the combinational controller
  CycleCounts,      // the cycle-count CASE lines
};

struct SkeletonLine {
  Target target;
  const char* text;  // UTF-8; nullptr for a generated piece
  Piece piece = Piece::Line;
};

std::span<const SkeletonLine> Skeleton();

}  // namespace edumac8::vhdl
