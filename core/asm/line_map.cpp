#include "asm/line_map.h"

namespace edumac8 {

bool LineMap::Add(std::int32_t address, std::uint8_t file) {
  records_.push_back({address, file});
  return size() < kCapacity;
}

std::optional<SourceLine> LineMap::AddressToLine(std::uint32_t address) const {
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const Record& r = records_[i];
    if (r.address < 0 || static_cast<std::uint32_t>(r.address) < address) continue;
    if (static_cast<std::uint32_t>(r.address) != address) return std::nullopt;
    int line = 0;
    for (std::size_t j = 0; j <= i; ++j)
      if (records_[j].file == r.file) ++line;
    return SourceLine{r.file, line};
  }
  return std::nullopt;
}

std::optional<std::uint32_t> LineMap::LineToAddress(int line) const {
  int seen = 0;
  for (const Record& r : records_) {
    if (r.file != 1 || ++seen != line) continue;
    if (r.address < 0) return std::nullopt;
    return static_cast<std::uint32_t>(r.address);
  }
  return std::nullopt;
}

std::optional<CodeLine> LineMap::FirstCodeLineFrom(int line) const {
  int seen = 0;
  for (const Record& r : records_) {
    if (r.file != 1 || ++seen < line || r.address < 0) continue;
    return CodeLine{seen, static_cast<std::uint32_t>(r.address)};
  }
  return std::nullopt;
}

}  // namespace edumac8
