#include "guide/catalogue_lexer.h"

namespace edumac8 {
namespace {

constexpr unsigned char kKeywordByte = 160;

// A byte of 128 or above starts a two-byte character when a possible second byte follows
// on the same line (GBK second bytes are 0x40 and above, so never a quote).
std::size_t CharLength(std::string_view line, std::size_t i) {
  const auto lead = static_cast<unsigned char>(line[i]);
  if (lead < 0x80 || i + 1 >= line.size()) return 1;
  return static_cast<unsigned char>(line[i + 1]) >= 0x40 ? 2 : 1;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string_view WholeCharacters(std::string_view bytes, std::size_t limit) {
  std::size_t end = 0;
  while (end < bytes.size()) {
    const std::size_t n = CharLength(bytes, end);
    if (end + n > limit) break;
    end += n;
  }
  return bytes.substr(0, end);
}

CatalogueLexer::CatalogueLexer(std::string_view file) {
  while (!file.empty()) {
    const std::size_t lf = file.find('\n');
    std::string_view line = file.substr(0, lf);
    if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.push_back(line);
    file.remove_prefix(lf == std::string_view::npos ? file.size() : lf + 1);
  }
}

unsigned char CatalogueLexer::Current() const {
  return AtLineEnd() ? ' ' : static_cast<unsigned char>(lines_[line_][col_]);
}

void CatalogueLexer::Advance() {
  if (AtLineEnd()) {
    ++line_;
    col_ = 0;
  } else {
    ++col_;
  }
}

void CatalogueLexer::SkipAfterLine(int line) {
  line_ = static_cast<std::size_t>(line);
  col_ = 0;
}

Token CatalogueLexer::Next() {
  for (;;) {
    Token token;
    if (AtEnd()) {
      token.line = LineCount();
      return token;
    }
    const unsigned char c = Current();
    if (c == ' ' || c == '\t') {
      Advance();
      continue;
    }
    if (c == ';') {  // a comment runs to the end of the line
      col_ = lines_[line_].size();
      continue;
    }
    token.line = LineNumber();
    if (c >= kKeywordByte) {
      token.kind = Token::Kind::Keyword;
      while (!AtLineEnd() && Current() >= kKeywordByte) {
        token.text += static_cast<char>(Current());
        Advance();
      }
      return token;
    }
    if (c >= '0' && c <= '9') {
      token.kind = Token::Kind::Number;
      while (!AtLineEnd() && Current() >= '0' && Current() <= '9') {
        token.number = token.number * 10u + (Current() - '0');  // wraps at 32 bits
        Advance();
      }
      return token;
    }
    if (c == '"') return ReadString();
    if (c == '\'') return ReadBinary();
    if (c == ',' || c == '=' || c == '{' || c == '}') {
      token.kind = Token::Kind::Punct;
      token.punct = static_cast<char>(c);
      Advance();
      return token;
    }
    throw CatalogueError{1474, token.line};
  }
}

Token CatalogueLexer::ReadString() {
  Token token;
  token.kind = Token::Kind::String;
  token.line = LineNumber();
  Advance();  // the opening quote
  bool full = false;
  while (!AtEnd()) {
    if (AtLineEnd()) {  // a string may span lines; the line end is a space
      if (token.text.size() < kMaxTextBytes && !full) token.text += ' ';
      Advance();
      continue;
    }
    const std::string_view line = lines_[line_];
    const char c = line[col_];
    if (c == '"') {
      Advance();
      return token;
    }
    const std::size_t n = CharLength(line, col_);
    // Once a character no longer fits, the rest is dropped, so a cut never splits one.
    if (!full && token.text.size() + n <= kMaxTextBytes) {
      if (n == 2)
        token.text.append(line.substr(col_, 2));
      else
        token.text += c == '\t' ? ' ' : Upper(c);
    } else {
      full = true;
    }
    col_ += n;
  }
  throw CatalogueError{1476, token.line};
}

Token CatalogueLexer::ReadBinary() {
  Token token;
  token.kind = Token::Kind::Number;
  token.line = LineNumber();
  Advance();  // the opening quote
  while (!AtEnd()) {
    const unsigned char c = Current();
    Advance();
    if (c == '\'') return token;
    if (c == '0' || c == '1') token.number = token.number * 2u + (c - '0');
  }
  throw CatalogueError{1477, token.line};
}

void CatalogueLexer::ReadBlock(int line, std::vector<std::string>& lines, std::size_t maxLines,
                               int tooMany) {
  for (std::size_t i = static_cast<std::size_t>(line); i < lines_.size(); ++i) {
    const std::string_view text = lines_[i];
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) ++first;
    if (first < text.size() && text[first] == '}') {
      line_ = i;
      col_ = first + 1;
      return;
    }
    if (lines.size() == maxLines) throw CatalogueError{tooMany, static_cast<int>(i) + 1};
    lines.emplace_back(WholeCharacters(text));
  }
  line_ = lines_.size();
  col_ = 0;
  throw CatalogueError{1477, LineCount()};
}

}  // namespace edumac8
