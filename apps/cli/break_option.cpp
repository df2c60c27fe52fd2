// --break ADDR: an address in the assembly language's number syntax, or a label of the source
// being run.
#include "asm/number_syntax.h"
#include "cli.h"

namespace edumac8::cli {
namespace {

bool StartsWithDigit(const std::string& text) {
  return !text.empty() && text[0] >= '0' && text[0] <= '9';
}

std::uint8_t BreakAddress(const std::string& text) {
  const std::optional<std::uint16_t> value = ParseNumber(text);
  if (!value || *value > 0xFF)
    throw UsageError("--break needs an address from 0 to 0FFH or a label, not '" + text + "'");
  return static_cast<std::uint8_t>(*value);
}

}  // namespace

const std::string& CheckBreakOption(const std::string& text) {
  if (StartsWithDigit(text)) BreakAddress(text);
  return text;
}

BreakpointSet ResolveBreakpoints(const std::vector<std::string>& breaks, const Assembler* labels) {
  BreakpointSet set;
  for (const std::string& text : breaks) {
    if (StartsWithDigit(text)) {
      set.set(BreakAddress(text));
      continue;
    }
    if (!labels) throw UsageError("--break " + text + ": a label needs a SOURCE to run");
    const std::optional<std::uint16_t> value = labels->LabelValue(text);
    if (!value) throw UsageError("--break: unknown label '" + text + "'");
    set.set(*value & 0xFF);
  }
  return set;
}

}  // namespace edumac8::cli
