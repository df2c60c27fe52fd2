// Conversion between the UTF-8 used inside the program and the GB2312 (GBK) text of the files
// the workbench reads and writes. Conversion happens only at the file boundary.
#pragma once

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

}  // namespace edumac8
