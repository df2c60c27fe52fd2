// The subcommands of edumac8-cli.
#include <cstdio>

#include "cli.h"
#include "isa/csv_export.h"
#include "isa/disassembler.h"
#include "isa/ins_file.h"
#include "platform/file_io.h"
#include "platform/paths.h"

namespace edumac8::cli {
namespace {

const std::string& OnePath(const Args& args, const char* what) {
  if (args.positional.size() != 1) throw UsageError(std::string("expected ") + what);
  return args.positional[0];
}

std::string HexBytes(const std::uint8_t* bytes, std::size_t n) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 15];
  }
  return out;
}

void PrintRegisters(const MachineState& s) {
  static constexpr struct { const char* name; Field field; } kRegisters[] = {
      {"A", Field::A},   {"W", Field::W},     {"R0", Field::R0},   {"R1", Field::R1},
      {"R2", Field::R2}, {"R3", Field::R3},   {"PC", Field::PC},   {"uPC", Field::uPC},
      {"IR", Field::IR}, {"ST", Field::ST},   {"MAR", Field::MAR}, {"OUT", Field::OUT},
      {"IN", Field::IN}, {"IA", Field::IA},
  };
  for (const auto& r : kRegisters) std::printf("%s=%02X ", r.name, s[r.field]);
  std::printf("\nC=%d Z=%d IREQ=%d IACK=%d\n", (s[Field::F] & flag::RCy) ? 1 : 0,
              (s[Field::F] & flag::RZ) ? 1 : 0, (s[Field::STATUS] & status::IREQ) ? 1 : 0,
              (s[Field::STATUS] & status::IACK) ? 1 : 0);
}

void PrintDump(const Machine& m) {
  for (int i = 0; i < m.history.Count(); ++i)
    std::printf("%s\n", HexBytes(m.history[i].state.bytes.data(), 48).c_str());
  std::printf("EM %s\n", HexBytes(m.EM.data(), m.EM.size()).c_str());
}

// Loads the program named first and executes the run options.
RunOutcome LoadAndExecute(Session& session, const Args& args, const std::string& program) {
  LoadProgram(session, program);
  Workbench& wb = session.workbench;
  const bool image = HasExtension(program, ".BIN");
  wb.control.SetBreakpoints(ResolveBreakpoints(args.breaks, image ? nullptr : &wb.assembler));
  return Execute(session, args);
}

}  // namespace

int AsmCommand(const Args& args) {
  Session session(args);
  const std::string& source = OnePath(args, "one SOURCE");
  session.workbench.control.SourcePath = source;
  if (!session.workbench.Make()) throw Failure(session.workbench.assembler.ErrorText());
  return 0;
}

int RunCommand(const Args& args) {
  Session session(args);
  const RunOutcome outcome =
      LoadAndExecute(session, args, OnePath(args, "one SOURCE or IMAGE.BIN"));
  const Machine& m = session.workbench.machine;
  if (args.dump) {
    PrintDump(m);
    return 0;
  }
  if (outcome.breakAt)
    std::printf("break at %02XH after %ld micro-steps\n", *outcome.breakAt, outcome.steps);
  PrintRegisters(m.CurrentRecord.state);
  return 0;
}

int DisasmCommand(const Args& args) {
  Session session(args);
  const std::string& image = OnePath(args, "one IMAGE.BIN");
  if (!HasExtension(image, ".BIN")) throw UsageError("disasm takes a 256-byte .BIN image");
  LoadProgram(session, image);
  const Workbench& wb = session.workbench;
  for (int address = 0; address < 256;) {
    const DisassembledLine line =
        DisassembleAt(wb.isa, wb.machine.EM, static_cast<std::uint8_t>(address));
    std::printf("%s\n", line.text.c_str());
    address += line.length;
  }
  return 0;
}

int InsSaveCommand(const Args& args) {
  Session session(args);
  const std::string& path = OnePath(args, "one FILE.INS");
  if (auto error = SaveInsFile(path, session.workbench.isa, session.workbench.machine.uM))
    throw Failure(*error);
  return 0;
}

int ExportCommand(const Args& args) {
  if (args.positional.size() < 2 || args.positional.size() > 3)
    throw UsageError("expected inst|um|trace OUT.CSV [SOURCE|IMAGE.BIN]");
  const std::string& what = args.positional[0];
  CsvKind kind;
  if (what == "inst") kind = CsvKind::InstructionSet;
  else if (what == "um") kind = CsvKind::MicroProgram;
  else if (what == "trace") kind = CsvKind::Trace;
  else throw UsageError("export takes inst, um or trace, not '" + what + "'");
  Session session(args);
  if (args.positional.size() == 3) LoadAndExecute(session, args, args.positional[2]);
  Workbench& wb = session.workbench;
  if (auto error = ExportCsv(kind, args.positional[1], wb.isa, wb.machine)) throw Failure(*error);
  return 0;
}

}  // namespace edumac8::cli
