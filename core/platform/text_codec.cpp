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

// Converts with iconv. Every input sequence that fails becomes `replacement`; without a
// replacement the first such sequence fails the whole conversion.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   std::optional<std::string_view> replacement, bool utf8Input) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    if (!replacement) return std::nullopt;
    return std::string(in);
  }
  std::string out;
  out.reserve(in.size() * 2);
  char buffer[1024];
  char* src = const_cast<char*>(in.data());
  std::size_t left = in.size();
  bool ok = true;
  while (ok && left > 0) {
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    const std::size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, dst - buffer);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      if (!replacement) {
        ok = false;
        continue;
      }
      out.append(*replacement);
      const std::size_t n =
          std::min(utf8Input ? Utf8Length(static_cast<unsigned char>(*src)) : 1, left);
      src += n;
      left -= n;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
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
  return *Convert("UTF-8", "GBK", gb, "\xEF\xBF\xBD", false);
}

std::string Utf8ToGb2312(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return *Convert("GBK", "UTF-8", utf8, "?", true);
}

std::string EncodeTextFile(const std::string* lines, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    text += lines[i];
    text += "\r\n";
  }
  return Utf8ToGb2312(text);
}

std::optional<std::string> DecodeGb2312(std::string_view gb) {
  if (IsAscii(gb)) return std::string(gb);
  return Convert("UTF-8", "GB2312", gb, std::nullopt, false);
}

std::optional<std::string> EncodeGb2312(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return Convert("GB2312", "UTF-8", utf8, std::nullopt, true);
}

std::size_t Utf8CharacterAt(std::string_view bytes, std::size_t at) {
  const auto lead = static_cast<unsigned char>(bytes[at]);
  if (lead < 0x80) return 1;
  std::size_t n;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() - at < n) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    const auto c = static_cast<unsigned char>(bytes[at + k]);
    if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return 0;
  }
  return n;
}

bool IsUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t n = Utf8CharacterAt(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::optional<DecodedText> DecodeTextFile(std::string_view bytes) {
  if (bytes.find('\0') != std::string_view::npos) return std::nullopt;
  if (std::optional<std::string> text = DecodeGb2312(bytes))
    return DecodedText{std::move(*text), TextEncoding::Gb2312};
  if (IsUtf8(bytes)) return DecodedText{std::string(bytes), TextEncoding::Utf8};
  return std::nullopt;
}

}  // namespace edumac8
