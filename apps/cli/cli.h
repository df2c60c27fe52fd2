// The command-line tool's shared pieces: argument handling, the session that loads an
// instruction system and a program and runs it, and the subcommands.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "workbench/workbench.h"

namespace edumac8::cli {

// A usage error: the tool prints the message and the usage text, and exits 2.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
// A failure the user caused (missing file, bad image ...): message on stderr, exit 1.
struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Args {
  std::vector<std::string> positional;
  std::optional<std::string> ins;
  long steps = 1000;
  std::vector<long> irqAfter;
  std::vector<std::string> breaks;  // --break, as given
  bool dump = false;
  bool box = false;
  bool bits = false;  // la: every bit a wire of its own
};

// Parses options common to the subcommands; unknown options are usage errors.
Args ParseArgs(const std::vector<std::string>& words);

// The front end of execution control for headless use: no views, Make assembles.
class CliHost : public Host {
 public:
  Workbench* workbench = nullptr;
  void Make() override { workbench->Make(); }
};

// A workbench with the instruction system of --ins (or the default). With --box it waits for
// a box set for the whole-machine experiment, which then executes.
struct Session {
  CliHost host;
  Workbench workbench;
  explicit Session(const Args& args);
};

// Puts a program into EM: a source is assembled (into an all-zero EM), an image of exactly
// 256 bytes is loaded. Then resets the machine.
void LoadProgram(Session& session, const std::string& path);
// How a run of Execute ended.
struct RunOutcome {
  long steps = 0;                       // micro-steps executed
  std::optional<std::uint8_t> breakAt;  // the breakpoint that stopped it
};
// Executes args.steps micro-steps, raising the interrupt request after the steps listed in
// --irq-after (0: right after the reset); stops early at the workbench's breakpoints.
RunOutcome Execute(Session& session, const Args& args);

// A --break value that looks like a number must be a valid address (a usage error otherwise);
// labels can be checked only once the source is assembled. Returns the text.
const std::string& CheckBreakOption(const std::string& text);
// The addresses of the --break values; `labels` is the assembler of the source being run, or
// null for an image. A bad address or an unknown label is a usage error.
BreakpointSet ResolveBreakpoints(const std::vector<std::string>& breaks, const Assembler* labels);

int AsmCommand(const Args& args);
int RunCommand(const Args& args);
int DisasmCommand(const Args& args);
int InsSaveCommand(const Args& args);
int ExportCommand(const Args& args);
int VhdlCommand(const Args& args);
int GuideCommand(const Args& args);
int LaCommand(const Args& args);
// Reads its own options: `board FILE|--new [--save OUT]`.
int BoardCommand(const std::vector<std::string>& words);

}  // namespace edumac8::cli
