// Workbench: the one object that holds the machine, the instruction system, the assembler,
// the box link and execution control for the lifetime of the application. Front ends (the
// workbench window, the command-line tool, tests) create one and reach everything through it.
#pragma once

#include <memory>
#include <string>

#include "asm/assembler.h"
#include "fpga/board_mode.h"
#include "guide/experiment.h"
#include "isa/instruction_system.h"
#include "machine/box_operations.h"
#include "machine/execution_control.h"
#include "machine/host.h"
#include "machine/machine.h"
#include "platform/paths.h"

namespace edumac8 {

class Workbench {
 public:
  // The host receives the view hooks and questions of execution control. Without a box the
  // default BoxOperations does nothing and the machine stays in simulation.
  explicit Workbench(Host& host, std::unique_ptr<BoxOperations> box = nullptr);

  // Start-up order: the machine resets (with uM still empty), then the defaults load.
  Machine machine;
  InstructionSystem isa;
  std::unique_ptr<BoxOperations> box;
  Assembler assembler;
  ExecutionControl control;
  // The experiment guide's catalogue, read once at start-up.
  ExperimentCatalogue experiments;
  // The FPGA board mode that the board window shows and edits.
  BoardMode board;

  // Data directories beside the program: HomeDir + "HELP/", "JPG/"; the generated VHDL goes
  // to HomeDir + "FPGA/" when that can be written, else to the user's data directory.
  std::string HomeDir;
  std::string HelpDir() const { return HomeDir + "HELP/"; }
  std::string JpgDir() const { return HomeDir + "JPG/"; }
  std::string FpgaDir() const { return FpgaDirFor(HomeDir); }

  // The machine part of the assemble command, after the window has saved the sources:
  // clears the flags, assembles SourcePath, resets machine and box, points the views at
  // address 0. Returns the assembly's success; the error is in assembler.
  bool Make();
};

}  // namespace edumac8
