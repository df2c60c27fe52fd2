// Counts the allocations of this test program, for the parts that must not allocate.
#pragma once

namespace edumac8::test {

// The number of calls of operator new so far on this thread.
long Allocations();

}  // namespace edumac8::test
