// The mode file (.MD8): a text file of lines ending in CR LF. The header line, BoardReserved,
// the number of components, nine lines per component, eight lines per column.
//
// Reading is forgiving the way the file has always been: numbers are the next token after
// blanks and line breaks (decimal, or hexadecimal after "$"), texts are whole lines. A block
// with a number that cannot be read is passed over and makes the file bad; a number that meets
// the end of the file ends the reading. What was read before stays.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "fpga/board_mode.h"

namespace edumac8 {

inline constexpr std::string_view kModeHeader = "Quor EDUMAC8 Mode File ";
inline constexpr const char* kModeFilter = "*.MD8|*.MD8";
inline constexpr const char* kOpenModeTitle = "读取EDUMAC8模式文件";
inline constexpr const char* kSaveModeTitle = "保存EDUMAC8模式文件";
inline constexpr const char* kModeWriteError = "Mode file write error";

std::string ModeNotFoundText(const std::string& name);  // "未找到模式文件: " + name
std::string ModeFormatText(const std::string& name);    // "模式文件格式错: " + name
// The question before a save replaces a file.
std::string ModeOverwriteText(const std::string& name);

// The name with ".MD8" appended when the file's own name (after the last '/') has no ".".
std::string WithModeExtension(const std::string& name);

// An integer as the file writes it: an optional sign, then decimal digits or "$" and hex
// digits, within signed 64 bits. Anything else (blanks included) is not an integer.
std::optional<long long> ParseModeInteger(std::string_view token);

enum class ModeRead { Ok, NotModeFile, Bad };
struct ModeReadResult {
  ModeRead status = ModeRead::Ok;
  int dropped = 0;  // components beyond 900 x 640, left out without a message
};

// Reads a mode file's bytes into `mode`. A foreign header changes nothing; otherwise the
// components are replaced by those read, and the columns and BoardReserved take what was read.
ModeReadResult ReadMode(std::string_view bytes, BoardMode& mode);

// The file's bytes for `mode`.
std::string WriteMode(const BoardMode& mode);

// Opens `path` (its ".MD8" already appended) into `mode`; returns the message for the user on
// failure: not found, or a format error (a bad file keeps what was read).
std::optional<std::string> OpenModeFile(const std::string& path, BoardMode& mode);

// Writes atomically: a failure leaves the old file. Returns false on failure.
bool SaveModeFile(const std::string& path, const BoardMode& mode);

}  // namespace edumac8
