// The experiment catalogue: the entries read from EX.INI, shared by the experiment guide's
// windows and the graphic help. Texts are kept as the file's GB2312 bytes; the windows decode
// them for display.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace edumac8 {

// Limits of the catalogue's records: the reader reports an item beyond them as an error.
constexpr int kMaxExperiments = 64;
constexpr int kMaxSteps = 64;
constexpr int kMaxBlockLines = 50;

// A wiring step: join pins `first` and `second` (the numbers' low bytes).
struct WireStep {
  std::uint8_t first = 0;
  std::uint8_t second = 0;
  std::string text;
};

// An operating step: the switches marked (`marked`) and their positions (`position`).
struct OpStep {
  std::int32_t marked = 0;
  std::int32_t position = 0;
  std::string text;
};

// The text blocks of an entry, in the numbering the text window's callers use.
enum class TextBlock { Requirement = 1, Purpose = 2, Notes = 3 };

struct TExperiment {
  std::string Name;
  std::vector<WireStep> Wires;  // at most kMaxSteps
  std::vector<OpStep> Ops;      // at most kMaxSteps
  std::vector<std::string> Requirement, Purpose, Notes;  // at most kMaxBlockLines lines each
  std::string SchematicPicture;
  std::string TimingPicture;

  int WireCount() const { return static_cast<int>(Wires.size()); }
  int OpCount() const { return static_cast<int>(Ops.size()); }
  const std::vector<std::string>& Block(TextBlock block) const;
};

struct ExperimentCatalogue {
  std::vector<TExperiment> Entries;  // entry n (1-based) is Entries[n - 1]
  int CurrentExp = 0;                // 0: none selected

  int ExpCount() const { return static_cast<int>(Entries.size()); }
  // Entry n (1-based), or null when there is none.
  const TExperiment* Entry(int n) const;
  const TExperiment* Current() const { return Entry(CurrentExp); }
};

}  // namespace edumac8
