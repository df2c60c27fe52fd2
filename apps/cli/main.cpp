// edumac8-cli: the workbench's core without windows, for teachers and scripts.
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "cli.h"
#include "platform/file_io.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const edumac8::cli::Args&);
  // A command with options of its own reads the words itself.
  int (*runWords)(const std::vector<std::string>&) = nullptr;
};

constexpr Command kCommands[] = {
    {"asm", edumac8::cli::AsmCommand},         {"run", edumac8::cli::RunCommand},
    {"disasm", edumac8::cli::DisasmCommand},   {"ins-save", edumac8::cli::InsSaveCommand},
    {"export", edumac8::cli::ExportCommand},
    {"vhdl", edumac8::cli::VhdlCommand},
    {"guide", edumac8::cli::GuideCommand},
    {"la", edumac8::cli::LaCommand},
    {"board", nullptr, edumac8::cli::BoardCommand},
};

constexpr const char* kUsage =
    "usage:\n"
    "  edumac8-cli asm SOURCE [--ins FILE.INS]\n"
    "  edumac8-cli run SOURCE|IMAGE.BIN [--ins FILE.INS] [--steps N] [--irq-after K]...\n"
    "                  [--break ADDR]... [--dump] [--box]\n"
    "  edumac8-cli disasm IMAGE.BIN [--ins FILE.INS]\n"
    "  edumac8-cli ins-save FILE.INS\n"
    "  edumac8-cli export inst|um|trace OUT.CSV [run options]\n"
    "  edumac8-cli vhdl OUTDIR [--ins FILE.INS] [SOURCE|IMAGE.BIN]\n"
    "  edumac8-cli guide [EX.INI] [--dump]\n"
    "  edumac8-cli la OUT.VCD SOURCE|IMAGE.BIN [--ins FILE.INS] [--steps N] [--irq-after K]... [--bits] [--box]\n"
    "  edumac8-cli board FILE|--new [--save OUT]\n";

// Output that did not reach its destination (a full disk) fails the command.
int Finished(int status) {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  std::fprintf(stderr, "写文件错误：标准输出\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  edumac8::IgnoreFileSizeSignal();
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || words[0] == "--help" || words[0] == "-h") {
    std::fputs(kUsage, words.empty() ? stderr : stdout);
    return Finished(words.empty() ? 2 : 0);
  }
  for (const Command& c : kCommands) {
    if (words[0] != c.name) continue;
    try {
      const std::vector<std::string> rest(words.begin() + 1, words.end());
      return Finished(c.runWords ? c.runWords(rest) : c.run(edumac8::cli::ParseArgs(rest)));
    } catch (const std::bad_alloc&) {
      std::fprintf(stderr, "内存不足\n");
      return 1;
    } catch (const edumac8::cli::UsageError& e) {
      std::fprintf(stderr, "edumac8-cli: %s\n%s", e.what(), kUsage);
      return 2;
    } catch (const edumac8::cli::Failure& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
  }
  std::fprintf(stderr, "edumac8-cli: unknown command '%s'\n%s", words[0].c_str(), kUsage);
  return 2;
}
