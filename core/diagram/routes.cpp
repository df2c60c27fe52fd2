#include "diagram/routes.h"

#include <algorithm>
#include <vector>

namespace edumac8 {
namespace {

bool OnSegment(DrawPoint p, const BusSegment& s) {
  return p.x >= std::min(s.from.x, s.to.x) && p.x <= std::max(s.from.x, s.to.x) &&
         p.y >= std::min(s.from.y, s.to.y) && p.y <= std::max(s.from.y, s.to.y);
}

// The chain of data segments from segment `from` to segment `to`, both included.
std::string Chain(int from, int to) {
  const auto& segs = Segments();
  std::vector<int> previous(kSegmentCount, -2);
  std::vector<int> queue{from};
  previous[from] = -1;
  for (std::size_t head = 0; head < queue.size() && previous[to] == -2; ++head) {
    const int at = queue[head];
    for (int next = 0; next < kSegmentCount; ++next) {
      if (previous[next] != -2 || segs[next].kind != SegmentKind::Data) continue;
      if (!Linked(segs[at], segs[next])) continue;
      previous[next] = at;
      queue.push_back(next);
    }
  }
  std::string chain;
  for (int at = to; at >= 0 && previous[to] != -2; at = previous[at]) chain += segs[at].name;
  std::reverse(chain.begin(), chain.end());
  return chain;
}

}  // namespace

bool Linked(const BusSegment& a, const BusSegment& b) {
  return OnSegment(a.from, b) || OnSegment(a.to, b) || OnSegment(b.from, a) || OnSegment(b.to, a);
}

RouteTable BuildRoutes() {
  RouteTable routes;
  for (const BlockSpec& source : Blocks()) {
    if (!source.sourceStub) continue;
    for (const BlockSpec& destination : Blocks()) {
      if (!destination.destinationStub || destination.destinationStub == source.sourceStub)
        continue;
      routes[Index(source.id)][Index(destination.id)] =
          Chain(SegmentIndex(source.sourceStub), SegmentIndex(destination.destinationStub));
    }
  }
  return routes;
}

}  // namespace edumac8
