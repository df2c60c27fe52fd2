#include "machine/trace_history.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>

namespace edumac8 {
namespace {

TEST(TraceHistory, BehavesLikeASlidingArray) {
  TraceHistory ring;
  std::deque<std::uint8_t> sliding;  // the tag of each record, oldest first
  std::mt19937 random(7);
  for (int step = 0; step < 2000; ++step) {
    if (random() % 500 == 0) {
      ring.Clear();
      sliding.clear();
    }
    TraceRecord r;
    r.state.bytes[0] = static_cast<std::uint8_t>(step);
    ring.Append(r);
    sliding.push_back(static_cast<std::uint8_t>(step));
    if (sliding.size() > 256) sliding.pop_front();
    ASSERT_EQ(ring.Count(), static_cast<int>(sliding.size()));
    for (int i : {0, ring.Count() / 2, ring.Count() - 1})
      ASSERT_EQ(ring[i].state.bytes[0], sliding[i]) << "step " << step << " record " << i;
  }
}

}  // namespace
}  // namespace edumac8
