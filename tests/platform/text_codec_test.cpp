#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace edumac8 {
namespace {

TEST(TextCodec, RoundTripsChineseText) {
  const std::string text = "实验机占用，不可修改。ABC";
  const std::string gb = Utf8ToGb2312(text);
  EXPECT_EQ(gb.substr(0, 2), "\xCA\xB5");
  EXPECT_EQ(gb.size(), 11 * 2 + 3u);
  EXPECT_EQ(Gb2312ToUtf8(gb), text);
}

TEST(TextCodec, UnencodableAndUndecodableBytesAreReplaced) {
  EXPECT_EQ(Utf8ToGb2312("a\xF0\x9F\x98\x80" "b"), "a?b");
  EXPECT_EQ(Gb2312ToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  const std::string lines[] = {"Sep=;", "x"};
  EXPECT_EQ(EncodeTextFile(lines, 2), "Sep=;\r\nx\r\n");
}

TEST(TextCodec, StrictGb2312RefusesWhatItCannotConvert) {
  EXPECT_EQ(EncodeGb2312("测试 OK"), std::optional<std::string>("\xB2\xE2\xCA\xD4 OK"));
  EXPECT_EQ(DecodeGb2312("\xB2\xE2\xCA\xD4 OK"), std::optional<std::string>("测试 OK"));
  EXPECT_FALSE(
      EncodeGb2312("a\xF0\x9F\x98\x80"
                   "b"))
      << "an emoji has no GB2312 form";
  EXPECT_FALSE(EncodeGb2312("镕")) << "GBK, but not GB2312";
  EXPECT_FALSE(DecodeGb2312("\xE4\xB8\xAD")) << "UTF-8 of 中";
  EXPECT_FALSE(DecodeGb2312("\xB2")) << "half a character";
}

TEST(TextCodec, Utf8Validity) {
  const struct {
    const char* bytes;
    bool valid;
  } cases[] = {
      {"plain", true},
      {"中文", true},
      {"\xF0\x9F\x98\x80", true},
      {"\xC0\xAF", false},
      {"\xE0\x80\xAF", false},
      {"\xED\xA0\x80", false},
      {"\xF4\x90\x80\x80", false},
      {"\xE4\xB8", false},
      {"\xB2\xE2\xCA\xD4", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(TextCodec, TextFilesOpenAsGb2312ThenUtf8) {
  const auto gb = DecodeTextFile("; \xB2\xE2\xCA\xD4\r\nNOP\r\n");
  ASSERT_TRUE(gb);
  EXPECT_EQ(gb->encoding, TextEncoding::Gb2312);
  EXPECT_EQ(gb->utf8, "; 测试\r\nNOP\r\n");
  const auto utf8 = DecodeTextFile("; 测试\r\nNOP\r\n");
  ASSERT_TRUE(utf8);
  EXPECT_EQ(utf8->encoding, TextEncoding::Utf8);
  EXPECT_EQ(utf8->utf8, "; 测试\r\nNOP\r\n");
  EXPECT_FALSE(DecodeTextFile(std::string("NOP\0NOP", 7))) << "a NUL byte is not text";
  EXPECT_FALSE(DecodeTextFile("\xFF\xFE; latin \xE9")) << "neither GB2312 nor UTF-8";
  EXPECT_EQ(DecodeTextFile("")->encoding, TextEncoding::Gb2312);
}

}  // namespace
}  // namespace edumac8
