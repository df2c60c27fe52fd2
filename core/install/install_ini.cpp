#include "install/install_ini.h"

#include <array>
#include <optional>

#include "install/case_paths.h"
#include "platform/text_codec.h"

namespace edumac8::install {
namespace {

enum class TokenKind { Comma, String, Keyword };

struct Token {
  TokenKind kind;
  std::string text;  // a string's bytes, or an upper-cased keyword
};

constexpr std::array<std::string_view, 4> kKeywords = {"QUOR", "KEIL_C51", "KEIL_ARM", "TITLE"};

// Tokens of one line. Reading past the line's end and a word that is not a keyword are
// errors (nothing returned); the caller decides what a token of the wrong kind means.
class LineTokens {
 public:
  // The "." appended to every line ends a keyword that runs to the line's end and turns a
  // line that stops where a comma or string is due into an error.
  explicit LineTokens(std::string_view line) : text_(std::string(line) + ".") {}

  std::optional<Token> Next() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    if (pos_ >= text_.size()) return std::nullopt;
    if (text_[pos_] == ',') {
      ++pos_;
      return Token{TokenKind::Comma, {}};
    }
    if (text_[pos_] == '"') {
      const std::size_t close = text_.find('"', pos_ + 1);
      if (close == std::string::npos) return std::nullopt;
      Token t{TokenKind::String, text_.substr(pos_ + 1, close - pos_ - 1)};
      pos_ = close + 1;
      return t;
    }
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != ';' && !IsBlank(text_[pos_]))
      ++pos_;
    std::string word = UpperAscii(std::string_view(text_).substr(start, pos_ - start));
    for (std::string_view k : kKeywords)
      if (word == k) return Token{TokenKind::Keyword, std::move(word)};
    return std::nullopt;
  }

 private:
  std::string text_;
  std::size_t pos_ = 0;
};

enum class LineResult { Done, Error };

std::string_view TrimBlanksRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsComment(std::string_view line) {
  for (char c : line)
    if (!IsBlank(c)) return c == ';';
  return false;
}

EntryKind KindOf(std::string_view keyword) {
  if (keyword == "KEIL_C51") return EntryKind::KeilC51Driver;
  if (keyword == "KEIL_ARM") return EntryKind::KeilArmDriver;
  return EntryKind::MakerProgram;
}

// One counted line: an entry, a title, or nothing (a line that starts with a comma or a string,
// or one that breaks off with a token of the wrong kind).
LineResult ReadLine(std::string_view line, InstallIni& ini) {
  LineTokens tokens(line);
  std::optional<Token> t = tokens.Next();
  if (!t) return LineResult::Error;
  if (t->kind != TokenKind::Keyword) return LineResult::Done;
  const std::string keyword = t->text;
  std::array<std::string, 3> strings;
  for (std::string& s : strings) {
    for (TokenKind due : {TokenKind::Comma, TokenKind::String}) {
      t = tokens.Next();
      if (!t) return LineResult::Error;
      if (t->kind != due) return LineResult::Done;
    }
    s = std::move(t->text);
  }
  if (keyword == "TITLE") {
    ini.HasTitle = true;
    ini.TitleCn = std::move(strings[1]);
    ini.TitleEn = std::move(strings[2]);
    return LineResult::Done;
  }
  if (ini.Entries.size() >= kMaxInstallEntries) return LineResult::Error;
  ini.Entries.push_back(TInstallEntry{KindOf(keyword), std::move(strings[0]), std::move(strings[1]),
                                      std::move(strings[2]), false});
  return LineResult::Done;
}

}  // namespace

InstallIni BuiltInInstallIni() {
  InstallIni ini;
  ini.Entries.push_back({EntryKind::UsbDriver, "", "安装 USB 驱动", "Install USB Driver", false});
  ini.Entries.push_back(
      {EntryKind::DebuggerDrivers, "", "安装 KEIL 驱动", "Install KEIL Driver", false});
  // The table keeps the bytes of the file, GB2312.
  for (TInstallEntry& e : ini.Entries) e.CaptionCn = Utf8ToGb2312(e.CaptionCn);
  return ini;
}

InstallIni ReadInstallIni(std::string_view bytes) {
  InstallIni ini = BuiltInInstallIni();
  int counted = 0;
  while (!bytes.empty()) {
    const std::size_t lf = bytes.find('\n');
    std::string_view line = bytes.substr(0, lf);
    bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = TrimBlanksRight(line);
    if (line.empty() || IsComment(line)) continue;
    ++counted;
    if (ReadLine(line, ini) == LineResult::Error) {
      ini.Entries.clear();
      ini.ErrorLine = counted;
      break;
    }
  }
  return ini;
}

}  // namespace edumac8::install
