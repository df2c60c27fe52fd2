#include "numeric_option.h"

#include "cli.h"

namespace edumac8::cli {

long ParseCountOption(const std::string& option, const std::string& value, long max) {
  const auto refuse = [&] {
    return UsageError(option + " needs a count from 0 to " + std::to_string(max) + ", not '" +
                      value + "'");
  };
  if (value.empty()) throw refuse();
  long n = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') throw refuse();
    // Checked before the multiplication, so no digit string can overflow.
    if (n > max / 10 || n * 10 > max - (c - '0')) throw refuse();
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace edumac8::cli
