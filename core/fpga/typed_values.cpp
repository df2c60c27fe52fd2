#include "fpga/typed_values.h"

#include "fpga/mode_file.h"
#include "platform/text_codec.h"

namespace edumac8 {
namespace {

std::string_view Trimmed(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

int TypedPosition(std::string_view text, int old, int limit) {
  const std::optional<long long> n = ParseModeInteger(Trimmed(text));
  return n && *n >= 0 && *n <= limit ? static_cast<int>(*n) : old;
}

std::uint32_t TypedClockCount(std::string_view text) {
  const std::optional<long long> n = ParseModeInteger(Trimmed(text));
  if (!n || *n < -2147483648LL || *n > 4294967295LL) return 0;
  return static_cast<std::uint32_t>(static_cast<unsigned long long>(*n));
}

std::string TypedText(std::string_view utf8) {
  std::string line(utf8);
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  return Utf8ToGb2312(line);
}

}  // namespace edumac8
