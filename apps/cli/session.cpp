#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "cli.h"
#include "isa/ins_file.h"
#include "link/box_link.h"
#include "numeric_option.h"
#include "platform/file_io.h"
#include "platform/paths.h"

namespace edumac8::cli {
namespace {

std::unique_ptr<BoxOperations> BoxLinkFor(const Args& args) {
  if (!args.box) return nullptr;
  LinkOptions options;
  options.firmwareDir = HomeDirOf(ProgramPath()) + kFirmwareDirName;
  return std::make_unique<BoxLink>(options);
}

// The connection step once a second, as the workbench's timer runs it, for about five
// seconds: each tick is due a second after the one before began, so attempts that take their
// time do not stretch the wait, and none begins after the five seconds.
void WaitForBox(Workbench& wb) {
  constexpr int kTicks = 5;
  BoxLink& link = static_cast<BoxLink&>(*wb.box);
  link.Attach(wb.control);
  const auto start = std::chrono::steady_clock::now();
  for (int tick = 0; tick < kTicks; ++tick) {
    if (std::chrono::steady_clock::now() >= start + std::chrono::seconds(kTicks)) break;
    std::this_thread::sleep_until(start + std::chrono::seconds(tick));
    link.Tick();
    if (!wb.control.Simulation) return;
  }
  throw Failure("没有可执行程序的 EDUMAC8 实验仪:" + link.StatusText());
}

void CheckLink(const Workbench& wb) {
  if (wb.box->LinkFailed()) throw Failure("与 EDUMAC8 实验仪的连接中断");
}

}  // namespace

Args ParseArgs(const std::vector<std::string>& words) {
  Args args;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= words.size() || words[i + 1].empty()) throw UsageError(w + " needs a value");
      return words[++i];
    };
    // An empty name would stand for the current directory or a file without a name.
    if (w.empty()) throw UsageError("empty file name");
    if (w == "--ins") args.ins = value();
    else if (w == "--steps")
      args.steps = ParseCountOption(w, value(), kMaxMicroSteps);
    else if (w == "--irq-after")
      args.irqAfter.push_back(ParseCountOption(w, value(), kMaxMicroSteps));
    else if (w == "--break") args.breaks.push_back(CheckBreakOption(value()));
    else if (w == "--dump") args.dump = true;
    else if (w == "--box") args.box = true;
    else if (w == "--bits") args.bits = true;
    else if (w.size() > 1 && w[0] == '-') throw UsageError("unknown option " + w);
    else args.positional.push_back(w);
  }
  return args;
}

Session::Session(const Args& args) : workbench(host, BoxLinkFor(args)) {
  host.workbench = &workbench;
  if (args.ins) {
    if (auto error = LoadInsFile(*args.ins, workbench.isa, workbench.machine.uM))
      throw Failure(*error);
  }
  if (args.box) WaitForBox(workbench);
}

void LoadProgram(Session& session, const std::string& path) {
  Workbench& wb = session.workbench;
  if (HasExtension(path, ".BIN")) {
    // The size is checked before reading: a device or a huge file is never read into memory.
    const std::optional<std::uint64_t> size = RegularFileSize(path);
    if (!size) throw Failure("读文件错误：" + path);
    if (*size != wb.machine.EM.size())
      throw Failure("程序映像必须正好 256 字节: " + path + " (" + std::to_string(*size) + " 字节)");
    const std::optional<std::string> image = ReadWholeFile(path, wb.machine.EM.size());
    if (!image || image->size() != wb.machine.EM.size()) throw Failure("读文件错误：" + path);
    std::copy(image->begin(), image->end(), wb.machine.EM.begin());
    wb.machine.SnapshotTo(wb.machine.CurrentRecord);
    wb.machine.ResetMachine();
    wb.box->BoxDownload(wb.machine.uM, wb.machine.EM);  // nothing in simulation
    CheckLink(wb);
    return;
  }
  wb.control.SourcePath = path;
  if (!wb.Make()) throw Failure(wb.assembler.ErrorText());
  CheckLink(wb);
}

RunOutcome Execute(Session& session, const Args& args) {
  Workbench& wb = session.workbench;
  // Sorted, so that each step costs one comparison however many requests were given.
  std::vector<long> irqAfter = args.irqAfter;
  std::sort(irqAfter.begin(), irqAfter.end());
  auto nextIrq = irqAfter.begin();
  const auto irqDue = [&](long step) {
    bool due = false;
    for (; nextIrq != irqAfter.end() && *nextIrq == step; ++nextIrq) due = true;
    return due;
  };
  RunOutcome outcome;
  if (irqDue(0)) wb.control.Interrupt();
  for (long step = 1; step <= args.steps; ++step) {
    wb.control.DoMicroStep();
    CheckLink(wb);
    if (irqDue(step)) wb.control.Interrupt();
    outcome.steps = step;
    if (wb.control.AtBreakpoint()) {
      outcome.breakAt = static_cast<std::uint8_t>(wb.machine.InstrAddr);
      break;
    }
  }
  if (!wb.control.Simulation) {
    wb.box->BoxReadEM(wb.machine.EM);
    CheckLink(wb);
    wb.machine.CurrentRecord.EM = wb.machine.EM;
    wb.machine.SnapshotTo(wb.machine.history.Newest());
  }
  return outcome;
}

}  // namespace edumac8::cli
