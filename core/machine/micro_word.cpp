#include "machine/micro_word.h"

namespace edumac8 {

const char* SignalName(int bit) {
  static const char* const kNames[24] = {
      "S0", "S1", "S2", "AEN", "WEN", "X0", "X1", "X2",
      "FEN", "CN", "RWR", "RRD", "STEN", "OUTEN", "MAROE", "MAREN",
      "ELP", "EINT", "IREN", "EMEN", "PCOE", "EMRD", "EMWR", "XRD",
  };
  return bit >= 0 && bit < 24 ? kNames[bit] : "";
}

}  // namespace edumac8
