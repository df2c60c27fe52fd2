// Any bytes as a modem INF file: the update either leaves it alone or inserts exactly one
// UTF-16 semicolon, and can always be applied again.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "install/inf_patch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace edumac8::install;
  const std::string inf(reinterpret_cast<const char*>(data), size);
  const std::optional<std::string> updated = CommentFakeModemCopyLine(inf);
  if (!updated) return 0;
  if (updated->size() != inf.size() + 2) std::abort();
  // The old bytes around one inserted pair: common prefix and suffix cover the whole file.
  std::size_t prefix = 0, suffix = 0;
  while (prefix < inf.size() && (*updated)[prefix] == inf[prefix]) ++prefix;
  while (suffix < inf.size() &&
         (*updated)[updated->size() - 1 - suffix] == inf[inf.size() - 1 - suffix])
    ++suffix;
  if (prefix + suffix < inf.size()) std::abort();
  if (updated->size() < kMaxInfBytes && !CommentFakeModemCopyLine(*updated)) std::abort();
  return 0;
}
