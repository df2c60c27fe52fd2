// Conversion between the UTF-8 used inside the program and the GB2312 (GBK) text of the files
// the workbench reads and writes. Conversion happens only at the file boundary.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace edumac8 {

// Decodes GB2312/GBK bytes. Bytes that do not decode become U+FFFD, so a foreign file still
// shows everything it can.
std::string Gb2312ToUtf8(std::string_view gb);

// Encodes UTF-8 text. Characters without a GB2312 form become '?'.
std::string Utf8ToGb2312(std::string_view utf8);

// Joins lines with CR LF after each one and encodes the result, the form of every text file
// the workbench writes.
std::string EncodeTextFile(const std::string* lines, std::size_t count);

// Strict GB2312 (EUC-CN), for the text a user edits: a byte sequence that is not GB2312, or a
// character GB2312 lacks, gives nothing rather than a text that would no longer match.
std::optional<std::string> DecodeGb2312(std::string_view gb);
std::optional<std::string> EncodeGb2312(std::string_view utf8);

bool IsUtf8(std::string_view bytes);
// The length of the well-formed UTF-8 character at `at` (shortest form, no surrogates, at most
// U+10FFFF), or 0 when the bytes there are not one.
std::size_t Utf8CharacterAt(std::string_view bytes, std::size_t at);

// A text file as the source editor takes it: GB2312 when it decodes as such, else UTF-8 when
// it is valid UTF-8. A NUL byte, or bytes that are neither, give nothing: such a file is not
// text, and opening it would lose part of it at the next save.
enum class TextEncoding { Gb2312, Utf8 };
struct DecodedText {
  std::string utf8;
  TextEncoding encoding;
};
std::optional<DecodedText> DecodeTextFile(std::string_view bytes);

}  // namespace edumac8
