// The tokens of EX.INI. The file is GB2312: a line ends at LF (a CR before it is dropped),
// a run of bytes of 160 and above is a keyword, and outside text blocks every line end and
// tab counts as a space. Every token knows the line it begins on, so an error is reported
// where the offending token stands rather than where reading happened to be.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace edumac8 {

// Length limit of a string and of a text-block line, in bytes.
constexpr std::size_t kMaxTextBytes = 255;

// An error that ends the reading of the catalogue: its message number and line (1-based).
struct CatalogueError {
  int number = 0;
  int line = 0;
};

struct Token {
  enum class Kind { Keyword, Number, String, Punct, End };
  Kind kind = Kind::End;
  int line = 0;      // where the token begins; for End the last line (0: empty file)
  std::string text;  // keyword bytes, or the string's contents
  std::uint32_t number = 0;
  char punct = 0;  // one of , = { }

  bool Is(char p) const { return kind == Kind::Punct && punct == p; }
};

class CatalogueLexer {
 public:
  explicit CatalogueLexer(std::string_view file);

  // The next token; throws CatalogueError for an illegal character (1474), an unterminated
  // string (1476) or base-2 number (1477).
  Token Next();

  // Moves reading to the start of the line after `line` (1-based): the rest of a "{" line
  // is not read.
  void SkipAfterLine(int line);

  // Reads the text block whose "{" stands on `line`: every following line, stored as
  // written, until a line whose first character other than space or tab is "}"; reading
  // goes on after that "}". A line beyond `maxLines` is error `tooMany` at its line, the
  // end of the file error 1477. Lines stored before an error stay in `lines`.
  void ReadBlock(int line, std::vector<std::string>& lines, std::size_t maxLines, int tooMany);

  int LineCount() const { return static_cast<int>(lines_.size()); }

 private:
  // The byte at the reading position; the line end reads as a space.
  bool AtEnd() const { return line_ >= lines_.size(); }
  bool AtLineEnd() const { return col_ >= lines_[line_].size(); }
  unsigned char Current() const;
  void Advance();
  int LineNumber() const { return static_cast<int>(line_) + 1; }

  Token ReadString();
  Token ReadBinary();

  std::vector<std::string_view> lines_;
  std::size_t line_ = 0;
  std::size_t col_ = 0;
};

// The longest prefix of `bytes` of at most `limit` bytes that does not split a two-byte
// character (a byte of 128 or above starts one).
std::string_view WholeCharacters(std::string_view bytes, std::size_t limit = kMaxTextBytes);

}  // namespace edumac8
