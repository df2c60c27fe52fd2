// Numbers as the assembly language writes them: digits with an optional radix letter at the
// end (H hexadecimal, B binary, O octal, D decimal). The scanner and the command-line tool's
// addresses read them by the same rules.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace edumac8 {

// The value (modulo 65536) of a number's characters in upper case, radix letter included;
// nothing when a digit lies outside its radix.
std::optional<std::uint16_t> NumberValue(std::string_view digits);

// A whole text that is one number of the language (any letter case); nothing otherwise.
std::optional<std::uint16_t> ParseNumber(std::string_view text);

}  // namespace edumac8
