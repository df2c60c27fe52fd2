// The route table of the structure diagram: for a source block and a destination block, the
// chain of data segments a transfer runs along, found in the bus network itself.
#pragma once

#include <array>
#include <string>

#include "diagram/flow_layout.h"

namespace edumac8 {

// route[source][destination]: segment names from the source's stub to the destination's
// stub, or empty when there is none (a block without the stub, or the same stub at both ends).
using RouteTable = std::array<std::array<std::string, kBlockCount>, kBlockCount>;

// Two data segments are linked when they share a point or an end of one lies on the other.
bool Linked(const BusSegment& a, const BusSegment& b);

// Every route, by a breadth-first walk over the linked data segments. The network has no
// loops, so the shortest chain is the only one that does not double back.
RouteTable BuildRoutes();

}  // namespace edumac8
