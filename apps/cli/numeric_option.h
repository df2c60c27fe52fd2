// Numbers given to the command line's options. Strict, because a number that is silently cut,
// wrapped or read in part would run a different experiment than the one asked for.
#pragma once

#include <string>

namespace edumac8::cli {

// The most micro-steps one command executes (--steps, --irq-after): minutes of work at most.
inline constexpr long kMaxMicroSteps = 100'000'000;

// The value of `option`: decimal digits only, at most `max`. Anything else (empty, a sign,
// blanks, another radix, a value above `max`) is a UsageError that names the option.
long ParseCountOption(const std::string& option, const std::string& value, long max);

}  // namespace edumac8::cli
