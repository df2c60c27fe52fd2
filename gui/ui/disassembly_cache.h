// The address cache of the disassembly window: which instruction address each window line
// shows. Anchored at the address the debugger last pointed to, it follows the instruction
// lengths from there for 50 entries, so single-stepping through straight code keeps the view
// still and a jump re-anchors it.
#pragma once

#include <array>
#include <cstdint>

#include "machine/machine_state.h"

namespace edumac8 {

using LengthTable = std::array<std::uint8_t, 256>;

class DisassemblyAddressCache {
 public:
  static constexpr int kEntries = 50;
  static constexpr int kStillEntries = 10;  // a target among the first ten keeps the view

  // The line address for a line further than 49 after the anchor: drawn blank.
  static constexpr int kBlank = -1;

  void Reset() { empty_ = true; }
  bool Empty() const { return empty_; }
  int Anchor() const { return entries_[0]; }
  // Entry i, 1-based as the window numbers them.
  int Entry(int i) const { return entries_[i - 1]; }
  int Last() const { return entries_[kEntries - 1]; }

  void Rebuild(std::uint8_t n, const ProgramMemory& em, const LengthTable& lengths);

  // The first step of ShowAddress: keeps the cache when n is among the first ten entries,
  // otherwise rebuilds at n. Returns whether it rebuilt.
  bool Show(std::uint8_t n, const ProgramMemory& em, const LengthTable& lengths);

  // The address shown on a 1-based line (kBlank for none). A line outside the cached range
  // re-anchors the cache; *scrollTo then receives the new anchor, whose line (anchor + 1)
  // the window must bring to the top.
  int LineAddress(int line, const ProgramMemory& em, const LengthTable& lengths, int* scrollTo);

 private:
  std::array<int, kEntries> entries_{};
  bool empty_ = true;
};

}  // namespace edumac8
