#include "guide/experiment_reader.h"

#include "asm/messages.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace edumac8 {
namespace {

// The keywords as the file spells them (GB2312).
struct Keywords {
  std::string definition = Utf8ToGb2312("实验定义");
  std::string name = Utf8ToGb2312("名称");
  std::string wiring = Utf8ToGb2312("连线");
  std::string operation = Utf8ToGb2312("操作");
  std::string requirement = Utf8ToGb2312("要求");
  std::string purpose = Utf8ToGb2312("目的");
  std::string notes = Utf8ToGb2312("说明");
  std::string schematic = Utf8ToGb2312("电路");
  std::string timing = Utf8ToGb2312("波形");
};

class Parser {
 public:
  Parser(std::string_view file, ExperimentCatalogue& catalogue)
      : lexer_(file), catalogue_(catalogue) {}

  void Parse() {
    Token t = lexer_.Next();
    if (t.kind == Token::Kind::End) throw CatalogueError{1478, t.line};
    for (;;) {
      if (!IsKeyword(t, words_.definition)) throw CatalogueError{1478, t.line};
      if (catalogue_.ExpCount() == kMaxExperiments) throw CatalogueError{1480, t.line};
      Expect('=', 1472);
      const Token open = Expect('{', 1470);
      lexer_.SkipAfterLine(open.line);
      catalogue_.Entries.emplace_back();
      t = ReadFields(catalogue_.Entries.back());
      if (!t.Is('}')) throw CatalogueError{1471, t.line};
      t = lexer_.Next();
      if (t.kind == Token::Kind::End) return;
    }
  }

 private:
  static bool IsKeyword(const Token& t, const std::string& word) {
    return t.kind == Token::Kind::Keyword && t.text == word;
  }

  Token Expect(char punct, int error) {
    Token t = lexer_.Next();
    if (!t.Is(punct)) throw CatalogueError{error, t.line};
    return t;
  }

  std::uint32_t ExpectNumber() {
    const Token t = lexer_.Next();
    if (t.kind != Token::Kind::Number) throw CatalogueError{1479, t.line};
    return t.number;
  }

  std::string ExpectString() {
    Token t = lexer_.Next();
    if (t.kind != Token::Kind::String) throw CatalogueError{1477, t.line};
    return std::move(t.text);
  }

  // "=" string
  std::string StringField() {
    Expect('=', 1472);
    return ExpectString();
  }

  // Reads fields until a token that is not a field's keyword, and returns that token.
  Token ReadFields(TExperiment& e) {
    for (;;) {
      Token t = lexer_.Next();
      if (IsKeyword(t, words_.name)) {
        e.Name = StringField();
      } else if (IsKeyword(t, words_.schematic)) {
        e.SchematicPicture = StringField();
      } else if (IsKeyword(t, words_.timing)) {
        e.TimingPicture = StringField();
      } else if (IsKeyword(t, words_.wiring)) {
        ReadList([&] { ReadWireStep(e); });
      } else if (IsKeyword(t, words_.operation)) {
        ReadList([&] { ReadOpStep(e); });
      } else if (IsKeyword(t, words_.requirement)) {
        ReadBlock(e.Requirement);
      } else if (IsKeyword(t, words_.purpose)) {
        ReadBlock(e.Purpose);
      } else if (IsKeyword(t, words_.notes)) {
        ReadBlock(e.Notes);
      } else {
        return t;
      }
    }
  }

  // "=" "{" step { "," step } "}"
  template <typename ReadStep>
  void ReadList(ReadStep readStep) {
    Expect('=', 1472);
    Expect('{', 1470);
    for (;;) {
      readStep();
      const Token t = lexer_.Next();
      if (t.Is('}')) return;
      if (!t.Is(',')) throw CatalogueError{1471, t.line};
    }
  }

  // "{" number "," number "}" "," string
  void ReadWireStep(TExperiment& e) {
    const Token open = Expect('{', 1470);
    if (e.WireCount() == kMaxSteps) throw CatalogueError{1481, open.line};
    WireStep step;
    step.first = static_cast<std::uint8_t>(ExpectNumber());
    Expect(',', 1473);
    step.second = static_cast<std::uint8_t>(ExpectNumber());
    Expect('}', 1471);
    Expect(',', 1473);
    step.text = ExpectString();
    e.Wires.push_back(std::move(step));
  }

  // "{" number "," number "," string "}"
  void ReadOpStep(TExperiment& e) {
    const Token open = Expect('{', 1470);
    if (e.OpCount() == kMaxSteps) throw CatalogueError{1482, open.line};
    OpStep step;
    step.marked = static_cast<std::int32_t>(ExpectNumber());
    Expect(',', 1473);
    step.position = static_cast<std::int32_t>(ExpectNumber());
    Expect(',', 1473);
    step.text = ExpectString();
    Expect('}', 1471);
    e.Ops.push_back(std::move(step));
  }

  // "=" "{" and the lines after the "{" line, up to a line that begins with "}".
  void ReadBlock(std::vector<std::string>& block) {
    Expect('=', 1472);
    const Token open = Expect('{', 1470);
    block.clear();
    lexer_.ReadBlock(open.line, block, kMaxBlockLines, 1483);
  }

  const Keywords words_;
  CatalogueLexer lexer_;
  ExperimentCatalogue& catalogue_;
};

}  // namespace

std::optional<CatalogueError> ParseExperiments(std::string_view file,
                                               ExperimentCatalogue& catalogue) {
  catalogue = ExperimentCatalogue{};
  std::optional<CatalogueError> error;
  try {
    Parser(file, catalogue).Parse();
  } catch (const CatalogueError& e) {
    error = e;
  }
  catalogue.CurrentExp = catalogue.ExpCount() > 0 ? 1 : 0;
  return error;
}

std::string ErrorBoxText(const CatalogueError& error) {
  return MessageText(error.number) + "   行：" + std::to_string(error.line);
}

std::optional<std::string> LoadExperiments(const std::string& helpDir,
                                           ExperimentCatalogue& catalogue) {
  catalogue = ExperimentCatalogue{};
  const std::string path = helpDir + "EX.INI";
  const std::optional<std::string> file = FileReadable(path) ? ReadWholeFile(path) : std::nullopt;
  if (!file) return MessageText(102) + path;
  if (const auto error = ParseExperiments(*file, catalogue)) return ErrorBoxText(*error);
  return std::nullopt;
}

}  // namespace edumac8
