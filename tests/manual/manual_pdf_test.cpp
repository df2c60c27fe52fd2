// The user manual the build renders into HELP/EDUMAC8.PDF: it is there, it is a PDF with its
// fonts embedded, and it holds every chapter of docs/manual.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "manual/radical_ideographs.h"
#include "platform/file_io.h"

namespace edumac8 {
namespace {

namespace fs = std::filesystem;

std::u32string Decode(const std::string& utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = n == 1 ? b : b & (0x7F >> n);
    for (int k = 1; k < n && i + k < utf8.size(); ++k) c = c << 6 | (utf8[i + k] & 0x3F);
    out += c;
    i += n;
  }
  return out;
}

// Text taken out of a PDF may name a CJK radical where the page shows the ideograph of the
// same glyph. Radicals with a compatibility mapping become their ideograph; the others match
// any ideograph.
constexpr char32_t kAnyIdeograph = 0xFFFF;
std::u32string Normalised(std::u32string text) {
  for (char32_t& c : text) {
    if (c < 0x2E80 || c > 0x2FDF) continue;
    const auto* it =
        std::find_if(std::begin(test::kRadicalIdeographs), std::end(test::kRadicalIdeographs),
                     [c](const auto& pair) { return pair.first == c; });
    c = it != std::end(test::kRadicalIdeographs) ? it->second : kAnyIdeograph;
  }
  // Line breaks and the spaces around them are not the document's.
  std::u32string squeezed;
  for (char32_t c : text)
    if (c != U' ' && c != U'\n' && c != U'\r' && c != U'\f') squeezed += c;
  return squeezed;
}

bool Holds(const std::u32string& text, const std::u32string& title) {
  if (title.empty() || text.size() < title.size()) return false;
  for (std::size_t at = 0; at + title.size() <= text.size(); ++at) {
    bool same = true;
    for (std::size_t k = 0; same && k < title.size(); ++k) {
      const char32_t t = text[at + k];
      same = t == title[k] || (t == kAnyIdeograph && title[k] >= 0x4E00 && title[k] <= 0x9FFF);
    }
    if (same) return true;
  }
  return false;
}

std::vector<std::string> ChapterTitles() {
  std::vector<fs::path> chapters;
  for (const auto& entry : fs::directory_iterator(EDUMAC8_MANUAL_DIR))
    if (entry.path().extension() == ".md") chapters.push_back(entry.path());
  std::sort(chapters.begin(), chapters.end());
  std::vector<std::string> titles;
  for (const fs::path& chapter : chapters) {
    std::ifstream in(chapter);
    for (std::string line; std::getline(in, line);)
      if (line.rfind("# ", 0) == 0) {
        titles.push_back(line.substr(2));
        break;
      }
  }
  return titles;
}

std::string PdfText(const std::string& pdf) {
  FILE* pipe = popen(("pdftotext -enc UTF-8 '" + pdf + "' - 2>/dev/null").c_str(), "r");
  if (!pipe) return {};
  std::string text;
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
    text.append(buffer.data(), n);
  pclose(pipe);
  return text;
}

TEST(ManualPdf, IsAPdfWithItsFontsEmbedded) {
  const auto bytes = ReadWholeFile(EDUMAC8_MANUAL_PDF);
  ASSERT_TRUE(bytes) << EDUMAC8_MANUAL_PDF;
  EXPECT_EQ(bytes->rfind("%PDF-1.", 0), 0u);
  EXPECT_NE(bytes->find("%%EOF", bytes->size() > 64 ? bytes->size() - 64 : 0), std::string::npos);
  EXPECT_NE(bytes->find("/FontFile2"), std::string::npos);
  EXPECT_NE(bytes->find("/ToUnicode"), std::string::npos);
  // Every picture the chapters show is in it.
  int pictures = 0;
  for (const auto& entry : fs::directory_iterator(EDUMAC8_MANUAL_DIR)) {
    const std::string text = ReadWholeFile(entry.path().string()).value_or("");
    for (std::size_t at = text.find("!["); at != std::string::npos; at = text.find("![", at + 2))
      ++pictures;
  }
  int images = 0;
  for (std::size_t at = bytes->find("/Subtype /Image"); at != std::string::npos;
       at = bytes->find("/Subtype /Image", at + 1))
    ++images;
  EXPECT_GE(pictures, 5);
  EXPECT_EQ(images, pictures);
}

TEST(ManualPdf, HoldsEveryChapter) {
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "pdftotext (poppler-utils, installed by scripts/setup) is missing";
  const std::vector<std::string> titles = ChapterTitles();
  ASSERT_GE(titles.size(), 8u);
  const std::u32string text = Normalised(Decode(PdfText(EDUMAC8_MANUAL_PDF)));
  ASSERT_FALSE(text.empty());
  for (const std::string& title : titles)
    EXPECT_TRUE(Holds(text, Normalised(Decode(title)))) << title;
  EXPECT_FALSE(Holds(text, Normalised(Decode("第九十九章 不存在的章节"))));
}

}  // namespace
}  // namespace edumac8
