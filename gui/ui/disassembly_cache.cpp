#include "ui/disassembly_cache.h"

namespace edumac8 {

void DisassemblyAddressCache::Rebuild(std::uint8_t n, const ProgramMemory& em,
                                      const LengthTable& lengths) {
  entries_[0] = n;
  for (int i = 1; i < kEntries; ++i) {
    const int previous = entries_[i - 1];
    entries_[i] = (previous + lengths[em[previous]]) % 256;
  }
  empty_ = false;
}

bool DisassemblyAddressCache::Show(std::uint8_t n, const ProgramMemory& em,
                                   const LengthTable& lengths) {
  if (!empty_) {
    for (int i = 0; i < kStillEntries; ++i)
      if (entries_[i] == n) return false;
  }
  Rebuild(n, em, lengths);
  return true;
}

int DisassemblyAddressCache::LineAddress(int line, const ProgramMemory& em,
                                         const LengthTable& lengths, int* scrollTo) {
  const int a = (line < 1 ? 1 : line) - 1;
  if (empty_) Rebuild(static_cast<std::uint8_t>(a), em, lengths);
  if (a - Anchor() > kEntries - 1) {
    Rebuild(static_cast<std::uint8_t>(Last()), em, lengths);
    if (scrollTo) *scrollTo = Anchor();
  } else if (a < Anchor()) {
    Rebuild(static_cast<std::uint8_t>(a), em, lengths);
    if (scrollTo) *scrollTo = Anchor();
  }
  const int offset = a - Anchor();
  if (offset < 0) return 255;
  if (offset > kEntries - 1) return kBlank;
  return entries_[offset];
}

}  // namespace edumac8
