// What the settings dialogs and the port boxes make of the user's typing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace edumac8 {

// X or Y: an integer (as a mode file writes it, blanks around it allowed) within 0..limit;
// anything else keeps the old value.
int TypedPosition(std::string_view text, int old, int limit);

// A clock count: an integer within 32 bits (-2147483648 to 4294967295), its low 32 bits kept;
// anything else is 0.
std::uint32_t TypedClockCount(std::string_view text);

// A name or port text as the mode keeps it: GBK, with line breaks turned into blanks so
// that it stays one line of the file.
std::string TypedText(std::string_view utf8);

}  // namespace edumac8
