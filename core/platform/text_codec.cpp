#include "platform/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace edumac8 {
namespace {

// Length of the UTF-8 sequence that starts with `lead`, so an unencodable character is
// skipped whole.
std::size_t Utf8Length(unsigned char lead) {
  if (lead < 0xC0) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

// Converts with iconv, replacing every input sequence that fails with `replacement`.
std::string Convert(const char* to, const char* from, std::string_view in,
                    std::string_view replacement, bool utf8Input) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  std::string out;
  out.reserve(in.size() * 2);
  char buffer[1024];
  char* src = const_cast<char*>(in.data());
  std::size_t left = in.size();
  while (left > 0) {
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, dst - buffer);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      out.append(replacement);
      const std::size_t n =
          std::min(utf8Input ? Utf8Length(static_cast<unsigned char>(*src)) : 1, left);
      src += n;
      left -= n;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

std::string Gb2312ToUtf8(std::string_view gb) {
  if (IsAscii(gb)) return std::string(gb);
  return Convert("UTF-8", "GBK", gb, "\xEF\xBF\xBD", false);
}

std::string Utf8ToGb2312(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return Convert("GBK", "UTF-8", utf8, "?", true);
}

std::string EncodeTextFile(const std::string* lines, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    text += lines[i];
    text += "\r\n";
  }
  return Utf8ToGb2312(text);
}

}  // namespace edumac8
