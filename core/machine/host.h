// The narrow interface through which execution control reaches its front end: the views it
// refreshes, the one question it asks, and the commands of the main window it relies on.
// Every hook does nothing by default, so a front end supplies only the views it has.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace edumac8 {

enum class Answer { Yes, No, Cancel };

// Source editor marks used by OpenSource.
constexpr int kProgramCounterMark = 14;
constexpr int kErrorMark = 16;

struct SourceLine {
  int file = 0;
  int line = 0;
};

// A line of the main source and the address of its code.
struct CodeLine {
  int line = 0;
  std::uint32_t address = 0;
};

class Host {
 public:
  virtual ~Host() = default;

  // Structure diagram: decode and animate the micro-word about to execute; redraw.
  virtual void DecodeTransfer() {}
  virtual void RefreshDiagram() {}
  // Micro-program and trace windows.
  virtual void RefreshMicroViews() {}
  // Logic analyser: capture from the history; reset its view.
  virtual void BuildLAChannels() {}
  virtual void ResetLAView() {}
  virtual void RepaintMemory() {}
  // Disassembly window.
  virtual void ShowDisassemblyAt(std::uint32_t /*address*/) {}
  virtual void ClearDisassemblyCache() {}
  virtual void UpdateButtons() {}
  virtual void OpenSource(const std::string& /*path*/, int /*line*/, int /*mark*/,
                          int /*column*/) {}

  // Message 784: the source changed since it was assembled; assemble again?
  virtual Answer AskReassemble() { return Answer::Yes; }
  // The main window's assemble command (Make).
  virtual void Make() {}

  // Called on the run worker's thread when its loop has ended. The front end arranges for
  // ExecutionControl::FinishRun to be called on its user-interface thread.
  virtual void RunLoopEnded() {}
  // Called on the run worker's thread after each micro-step of a slow run, with the machine
  // let go. A front end that shows the step arranges for ExecutionControl::ShowRunStep to be
  // called on its user-interface thread and returns true; the worker waits for that (or for a
  // pause). False: nothing will show it, the worker goes on.
  virtual bool RunStepDone() { return false; }
};

// What execution control needs to know of the last assembly.
class ProgramMap {
 public:
  virtual ~ProgramMap() = default;
  virtual bool AssembledOK() const = 0;
  virtual std::optional<SourceLine> AddressToLine(std::uint32_t address) const = 0;
  // The address of the code on a line (1-based) of the main source; nothing for a line
  // without code.
  virtual std::optional<std::uint32_t> LineToAddress(int /*line*/) const { return std::nullopt; }
  // The first line at or after `line` that holds code.
  virtual std::optional<CodeLine> FirstCodeLineFrom(int /*line*/) const { return std::nullopt; }
};

}  // namespace edumac8
