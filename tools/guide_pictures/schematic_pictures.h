// The schematic of an experiment: the blocks whose control inputs it wires, the micro-word
// switch outputs, and every wire of its wiring steps.
#pragma once

#include <QImage>
#include <QString>

#include "guide/experiment.h"

namespace edumac8::pictures {

QImage DrawWiringSchematic(const QString& title, const QString& dataPath,
                           const TExperiment& experiment);
// The FPGA experiment wires nothing: its schematic shows where the generated controller sits.
QImage DrawControllerSchematic(const QString& title);

}  // namespace edumac8::pictures
