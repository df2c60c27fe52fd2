#include "asm/symbol_table.h"

#include <algorithm>

#include "asm/assemble_error.h"

namespace edumac8 {

std::string SymbolTable::Padded(const std::string& name) {
  std::string padded = name.substr(0, 32);
  padded.resize(32, ' ');
  return padded;
}

std::uint16_t SymbolTable::Hash(const std::string& name) {
  // Names arrive with their significant characters; a one-letter name carries its blank.
  // 16-bit arithmetic, computed unsigned so that the products wrap instead of overflowing.
  std::uint32_t h = 13;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const std::uint32_t c = static_cast<unsigned char>(name[i]);
    h = (h + c * h * c * static_cast<std::uint32_t>(i + 1)) & 0xFFFF;
  }
  return static_cast<std::uint16_t>(h);
}

void SymbolTable::Clear() {
  for (Symbol& s : slots_) s = Symbol{};
  for (int i = 0; i < kFixups; ++i) fixups_[i] = {0, static_cast<std::uint16_t>(i + 1 < kFixups ? i + 1 : kNoFixup)};
  freeList_ = 0;
}

int SymbolTable::Lookup(const std::string& name) const {
  const std::string key = Padded(name);
  int slot = Hash(name) & (kSymbolSlots - 1);
  for (int visited = 0; visited < kSymbolSlots; ++visited) {
    const Symbol& s = slots_[slot];
    if (s.name.empty() || s.name == key) return slot;
    slot = (slot + 1) & (kSymbolSlots - 1);
  }
  throw EAssembleException(348);
}

void SymbolTable::AddReference(int slot, const std::string& name, std::uint16_t site) {
  Symbol& s = slots_[slot];
  if (s.name.empty()) s = Symbol{Padded(name), false, kNoFixup, SymReferenced};
  if (freeList_ == kNoFixup) throw EAssembleException(348);
  const std::uint16_t record = freeList_;
  freeList_ = fixups_[record].next;
  fixups_[record] = {site, s.value};
  s.value = record;
}

void SymbolTable::Define(int slot, const std::string& name, std::uint16_t value, SymbolKind kind,
                         ProgramMemory& em) {
  Symbol& s = slots_[slot];
  if (!s.name.empty()) {
    for (std::uint16_t r = s.value; r != kNoFixup; r = fixups_[r].next)
      em[fixups_[r].site & 0xFF] = static_cast<std::uint8_t>(value);
    FreeChain(s.value);
  }
  s = Symbol{Padded(name), true, value, kind};
}

std::vector<std::uint16_t> SymbolTable::ReferenceSites(int slot) const {
  std::vector<std::uint16_t> sites;
  if (slots_[slot].defined) return sites;
  for (std::uint16_t r = slots_[slot].value; r != kNoFixup; r = fixups_[r].next)
    sites.push_back(fixups_[r].site);
  return sites;
}

std::vector<int> SymbolTable::SortedSlots() const {
  std::vector<int> used;
  for (int i = 0; i < kSymbolSlots; ++i)
    if (!slots_[i].name.empty()) used.push_back(i);
  std::sort(used.begin(), used.end(),
            [&](int a, int b) { return slots_[a].name < slots_[b].name; });
  return used;
}

void SymbolTable::FreeChain(std::uint16_t head) {
  while (head != kNoFixup) {
    const std::uint16_t next = fixups_[head].next;
    fixups_[head].next = freeList_;
    freeList_ = head;
    head = next;
  }
}

void SymbolTable::FreeAllChains() {
  for (Symbol& s : slots_) {
    if (s.name.empty() || s.defined) continue;
    FreeChain(s.value);
    s.value = kNoFixup;
  }
}

}  // namespace edumac8
