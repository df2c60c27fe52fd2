// Names of the program and the forward references waiting for them. Fixed sizes: 1024 slots
// found by hashing, 1024 fix-up records on a free list.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "machine/machine_state.h"

namespace edumac8 {

constexpr int kSymbolSlots = 1024;
constexpr int kFixups = 1024;
constexpr std::uint16_t kNoFixup = 0xFFFF;

enum SymbolKind : std::uint8_t { SymLabel = 0, SymReferenced = 3, SymConstant = 10 };

struct Symbol {
  std::string name;  // 32 characters, blank-padded; empty = free slot
  bool defined = false;
  std::uint16_t value = 0;  // the fix-up chain's head while undefined
  std::uint8_t kind = SymLabel;
};

class SymbolTable {
 public:
  void Clear();
  // The slot of `name` (its significant characters), or of the free slot where it would go.
  // Raises error 348 when every slot holds another name.
  int Lookup(const std::string& name) const;
  const Symbol& operator[](int slot) const { return slots_[slot]; }

  // A placeholder byte at `site` waits for the name in `slot`.
  void AddReference(int slot, const std::string& name, std::uint16_t site);
  // Defines the name and patches every placeholder waiting for it.
  void Define(int slot, const std::string& name, std::uint16_t value, SymbolKind kind,
              ProgramMemory& em);

  // Sites of the references of an undefined name, newest first.
  std::vector<std::uint16_t> ReferenceSites(int slot) const;
  // Used slots in the byte order of their names.
  std::vector<int> SortedSlots() const;
  void FreeAllChains();

  static std::string Padded(const std::string& name);
  static std::uint16_t Hash(const std::string& name);

 private:
  struct Fixup {
    std::uint16_t site = 0;
    std::uint16_t next = kNoFixup;
  };
  void FreeChain(std::uint16_t head);

  std::array<Symbol, kSymbolSlots> slots_;
  std::array<Fixup, kFixups> fixups_;
  std::uint16_t freeList_ = 0;
};

}  // namespace edumac8
