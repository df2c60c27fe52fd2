#include "guide/experiment.h"

namespace edumac8 {

const std::vector<std::string>& TExperiment::Block(TextBlock block) const {
  switch (block) {
    case TextBlock::Purpose:
      return Purpose;
    case TextBlock::Notes:
      return Notes;
    case TextBlock::Requirement:
      break;
  }
  return Requirement;
}

const TExperiment* ExperimentCatalogue::Entry(int n) const {
  if (n < 1 || n > ExpCount()) return nullptr;
  return &Entries[n - 1];
}

}  // namespace edumac8
