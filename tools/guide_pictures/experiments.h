// What the generator knows of each shipped experiment beyond the catalogue: the data path
// its schematic names, and the micro-steps its timing picture shows. The catalogue's own
// wiring and operating steps supply the rest: the schematic is drawn from the wiring, the
// timing of a switch experiment from its operating steps (each one micro-word).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "machine/machine_state.h"

namespace edumac8::pictures {

// One row of a timing picture.
struct TimingRow {
  enum class Kind {
    Clock,      // CK: one pulse per micro-step, rising in the middle
    Signal,     // one bit of the executed micro-word
    Word,       // the executed micro-word, six hex digits
    Bus,        // a byte computed during the step (buses, ALU and shifter outputs)
    Register,   // a byte latched at the clock edge
    FlagBit,    // a bit of F, latched
    StatusBit,  // a bit of STATUS
  };
  Kind kind;
  std::string label;
  int index = 0;  // signal bit, field offset, or bit mask
};

struct ExperimentDrawing {
  std::string schematic;  // picture file names as the catalogue gives them
  std::string timing;
  std::string dataPath;  // one line under the schematic's title
  // The timing: the catalogue's operating steps with these IN values before each step
  // (-1 keeps IN), or a program run with the default instruction system.
  std::vector<int> inputs;
  std::string program;  // a sample's file name, or the source text itself when it has lines
  int warmUp = 0;       // steps executed before the drawn ones
  int steps = 0;
  std::vector<int> irqAfter;  // interrupt requests after these drawn steps (0: before the first)
  std::vector<TimingRow> rows;
};

const std::vector<ExperimentDrawing>& ExperimentDrawings();

}  // namespace edumac8::pictures
