// What the structure diagram reads from the machine state: the caption of every block and the
// six status lamps; in simulation also the remaining-steps bits it writes into STATUS.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "diagram/flow_layout.h"
#include "machine/machine_state.h"

namespace edumac8 {

struct DiagramReadout {
  std::array<std::string, kBlockCount> captions;
  std::array<bool, kLampCount> lamps{};  // by Lamp
};

// "A:3C", "uM: CB FF FF", "ALU".
std::string BlockCaption(BlockId id, const MachineState& s);
// Before the first refresh: each block's name and a colon; the ALU its name alone.
std::array<std::string, kBlockCount> StartupCaptions();
DiagramReadout ReadDiagram(const MachineState& s);

// The micro-steps left in the instruction at `upc`, as RT1 RT0 take them: the step count of
// the group's first word less the steps already done, 0 when that is negative.
std::uint8_t RemainingSteps(const StepCounts& table, std::uint8_t upc);
// RT1 and RT0 of STATUS from RemainingSteps, as the simulation shows them.
void WriteRemainingSteps(MachineState& s, const StepCounts& table);

}  // namespace edumac8
