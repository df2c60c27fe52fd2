// Timing pictures: the machine's signals, buses and registers over a run of micro-steps, as
// the workbench's own engine executes them.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "experiments.h"
#include "guide/experiment.h"
#include "machine/machine.h"

namespace edumac8::pictures {

// The state before and after one micro-step.
struct StepRecord {
  MachineState start;
  MachineState end;
};

// Each operating step's position mask as one micro-word, with IN set before step i to
// inputs[i] when that is not negative.
std::vector<StepRecord> RunOperatingSteps(const TExperiment& experiment,
                                          const std::vector<int>& inputs);
// The drawing's program assembled with the default instruction system and run; throws
// std::runtime_error when it cannot be read or assembled.
std::vector<StepRecord> RunProgram(const ExperimentDrawing& drawing, const std::string& samplesDir);

QImage DrawTiming(const QString& title, const std::vector<StepRecord>& steps,
                  const std::vector<TimingRow>& rows);

}  // namespace edumac8::pictures
