// edumac8-cli la: the logic analyser's samples after a run, as a VCD file for waveform
// viewers. Loads and runs exactly as `run` does, then captures once.
#include "cli.h"
#include "la/la_samples.h"
#include "la/vcd_writer.h"

namespace edumac8::cli {

int LaCommand(const Args& args) {
  if (args.positional.size() != 2) throw UsageError("expected OUT.VCD and one SOURCE or IMAGE.BIN");
  if (args.dump) throw UsageError("la writes a file and prints nothing: --dump belongs to run");
  Session session(args);
  LoadProgram(session, args.positional[1]);
  Execute(session, args);
  Workbench& wb = session.workbench;
  LASamples samples;
  samples.Capture(wb.machine, wb.control.Simulation);
  samples.CopyToDisplay();
  const VcdForm form = args.bits ? VcdForm::Bits : VcdForm::Vectors;
  if (const auto error = WriteVcdFile(args.positional[0], samples, form)) throw Failure(*error);
  return 0;
}

}  // namespace edumac8::cli
