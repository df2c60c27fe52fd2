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

}  // namespace
}  // namespace edumac8
