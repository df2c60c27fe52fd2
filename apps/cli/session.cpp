#include <cstdlib>

#include "cli.h"
#include "isa/ins_file.h"
#include "platform/file_io.h"
#include "platform/paths.h"

namespace edumac8::cli {
namespace {

long ParseCount(const std::string& option, const std::string& value) {
  char* end = nullptr;
  const long n = std::strtol(value.c_str(), &end, 10);
  if (value.empty() || *end != '\0' || n < 0) throw UsageError(option + " needs a count, not '" + value + "'");
  return n;
}

}  // namespace

Args ParseArgs(const std::vector<std::string>& words) {
  Args args;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= words.size()) throw UsageError(w + " needs a value");
      return words[++i];
    };
    if (w == "--ins") args.ins = value();
    else if (w == "--steps") args.steps = ParseCount(w, value());
    else if (w == "--irq-after") args.irqAfter.push_back(ParseCount(w, value()));
    else if (w == "--dump") args.dump = true;
    else if (w == "--box") args.box = true;
    else if (w.size() > 1 && w[0] == '-') throw UsageError("unknown option " + w);
    else args.positional.push_back(w);
  }
  return args;
}

Session::Session(const Args& args) {
  host.workbench = &workbench;
  if (args.ins) {
    if (auto error = LoadInsFile(*args.ins, workbench.isa, workbench.machine.uM))
      throw Failure(*error);
  }
}

void LoadProgram(Session& session, const std::string& path) {
  Workbench& wb = session.workbench;
  if (HasExtension(path, ".BIN")) {
    const std::optional<std::string> image = ReadWholeFile(path);
    if (!image) throw Failure("读文件错误：" + path);
    if (image->size() != wb.machine.EM.size())
      throw Failure("程序映像必须正好 256 字节: " + path + " (" + std::to_string(image->size()) +
                    " 字节)");
    std::copy(image->begin(), image->end(), wb.machine.EM.begin());
    wb.machine.SnapshotTo(wb.machine.CurrentRecord);
    wb.machine.ResetMachine();
    return;
  }
  wb.machine.EM.fill(0);
  wb.control.SourcePath = path;
  if (!wb.Make()) throw Failure(wb.assembler.ErrorText());
}

void Execute(Session& session, const Args& args) {
  Workbench& wb = session.workbench;
  const auto irqDue = [&](long step) {
    for (long k : args.irqAfter)
      if (k == step) return true;
    return false;
  };
  if (irqDue(0)) wb.control.Interrupt();
  for (long step = 1; step <= args.steps; ++step) {
    wb.control.DoMicroStep();
    if (irqDue(step)) wb.control.Interrupt();
  }
}

}  // namespace edumac8::cli
