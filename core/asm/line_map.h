// The line map: one record per listed source line, tying program addresses to lines.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "machine/host.h"

namespace edumac8 {

class LineMap {
 public:
  static constexpr int kCapacity = 1001;

  void Clear() { records_.clear(); }
  // Returns false when the map is full (this record was the last it takes).
  bool Add(std::int32_t address, std::uint8_t file);
  int size() const { return static_cast<int>(records_.size()); }

  std::optional<SourceLine> AddressToLine(std::uint32_t address) const;
  std::optional<std::uint32_t> LineToAddress(int line) const;
  // The first line of the main source at or after `line` that holds code.
  std::optional<CodeLine> FirstCodeLineFrom(int line) const;

 private:
  struct Record {
    std::int32_t address;  // -1: the line has no code
    std::uint8_t file;
  };
  std::vector<Record> records_;
};

}  // namespace edumac8
