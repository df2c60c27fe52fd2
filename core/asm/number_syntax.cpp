#include "asm/number_syntax.h"

#include <string>

#include "asm/scanner.h"

namespace edumac8 {
namespace {

int DigitValue(char c) {
  return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
}

}  // namespace

std::optional<std::uint16_t> NumberValue(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  int radix = 10;
  switch (digits.back()) {
    case 'H':
      radix = 16;
      digits.remove_suffix(1);
      break;
    case 'B':
      radix = 2;
      digits.remove_suffix(1);
      break;
    case 'O':
      radix = 8;
      digits.remove_suffix(1);
      break;
    case 'D':
      digits.remove_suffix(1);
      break;
    default:
      break;
  }
  std::uint16_t value = 0;
  for (char d : digits) {
    if (DigitValue(d) >= radix) return std::nullopt;
    value = static_cast<std::uint16_t>(value * radix + DigitValue(d));
  }
  return value;
}

std::optional<std::uint16_t> ParseNumber(std::string_view text) {
  std::string upper;
  for (char c : text) upper += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  if (upper.empty() || !(CharClass(upper[0]) & charclass::NumberStart)) return std::nullopt;
  std::size_t i = 0;
  while (i < upper.size() && (CharClass(upper[i]) & charclass::NumberCont)) ++i;
  if (i < upper.size() && (upper[i] == 'H' || upper[i] == 'O')) ++i;
  if (i != upper.size()) return std::nullopt;
  return NumberValue(upper);
}

}  // namespace edumac8
