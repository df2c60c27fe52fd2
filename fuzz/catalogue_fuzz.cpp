// Any bytes as EX.INI: the reader must report an error or succeed, never crash or read out of
// bounds, and keep the catalogue within its limits with CurrentExp pointing at an entry.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "guide/experiment_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  edumac8::ExperimentCatalogue catalogue;
  const auto error =
      edumac8::ParseExperiments({reinterpret_cast<const char*>(data), size}, catalogue);
  if (catalogue.ExpCount() > edumac8::kMaxExperiments) std::abort();
  if (catalogue.CurrentExp != (catalogue.ExpCount() > 0 ? 1 : 0)) std::abort();
  for (const edumac8::TExperiment& e : catalogue.Entries) {
    if (e.WireCount() > edumac8::kMaxSteps || e.OpCount() > edumac8::kMaxSteps) std::abort();
    for (const auto* block : {&e.Requirement, &e.Purpose, &e.Notes}) {
      if (block->size() > static_cast<std::size_t>(edumac8::kMaxBlockLines)) std::abort();
      for (const std::string& line : *block)
        if (line.size() > edumac8::kMaxTextBytes) std::abort();
    }
    if (e.Name.size() > edumac8::kMaxTextBytes) std::abort();
  }
  if (error && (error->line < 0 || error->number < 1470 || error->number > 1483)) std::abort();
  return 0;
}
