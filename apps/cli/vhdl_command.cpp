// edumac8-cli vhdl: the controller VHDL of both styles and the memory image, for an FPGA flow.
#include "cli.h"
#include "vhdl/vhdl_generator.h"

namespace edumac8::cli {

int VhdlCommand(const Args& args) {
  if (args.positional.empty() || args.positional.size() > 2)
    throw UsageError("expected OUTDIR and at most one SOURCE or IMAGE.BIN");
  Session session(args);
  if (args.positional.size() == 2) LoadProgram(session, args.positional[1]);
  Workbench& wb = session.workbench;
  const VhdlFiles files = GenerateVhdl(wb.isa, wb.machine);
  if (const auto failed = WriteVhdlFiles(args.positional[0], files))
    throw Failure("写文件错误：" + *failed);
  return 0;
}

}  // namespace edumac8::cli
