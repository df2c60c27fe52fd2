#include "alloc_counter.h"

#include <cstdlib>
#include <new>

namespace {
thread_local long allocations = 0;
}

namespace edumac8::test {
long Allocations() { return allocations; }
}  // namespace edumac8::test

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
