#include <gtest/gtest.h>

#include <string>

#include "shared/TextEncoding.h"

using namespace zl;

namespace {

// Sources are UTF-8 but narrow literals are GBK bytes: Chinese test texts
// are spelled as bytes.
const std::string kQingTianUtf8 = "\xE6\x99\xB4\xE5\xA4\xA9";  // 晴天
const std::string kQingTianGbk = "\xC7\xE7\xCC\xEC";

}  // namespace

TEST(TextEncodingDetect, ByteOrderMarksDecide) {
  EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF[00:01]x"), TextEncoding::Utf8Bom);
  EXPECT_EQ(DetectTextEncoding(std::string("\xFF\xFE[\0", 4)), TextEncoding::Utf16Le);
  EXPECT_EQ(DetectTextEncoding(std::string("\xFE\xFF\0[", 4)), TextEncoding::Utf16Be);
  // A mark wins over what follows it, even bytes that are no UTF-8.
  EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF\xC7\xE7"), TextEncoding::Utf8Bom);
}

TEST(TextEncodingDetect, WithoutMarkUtf8OnlyWhenValidAndNotAscii) {
  EXPECT_EQ(DetectTextEncoding("[00:01]" + kQingTianUtf8), TextEncoding::Utf8);
  EXPECT_EQ(DetectTextEncoding("[00:01]plain ascii"), TextEncoding::CodePage);
  EXPECT_EQ(DetectTextEncoding(""), TextEncoding::CodePage);
  EXPECT_EQ(DetectTextEncoding("[00:01]" + kQingTianGbk), TextEncoding::CodePage);
  // Overlong forms, surrogates and cut sequences are not UTF-8.
  EXPECT_EQ(DetectTextEncoding("\xC0\xAF"), TextEncoding::CodePage);
  EXPECT_EQ(DetectTextEncoding("\xED\xA0\x80"), TextEncoding::CodePage);
  EXPECT_EQ(DetectTextEncoding("ab\xE6\x99"), TextEncoding::CodePage);
  EXPECT_EQ(DetectTextEncoding("\xF4\x90\x80\x80"), TextEncoding::CodePage);  // above U+10FFFF
}

TEST(TextEncodingConvert, Utf16BothOrdersAndBrokenUnits) {
  const std::u16string text = u"A\u6674\U0001F600";
  EXPECT_EQ(Utf16ToBytes(text, false), std::string("A\0\x74\x66\x3D\xD8\x00\xDE", 8));
  EXPECT_EQ(Utf16FromBytes("\0A\x66\x74", 4, true), u"A\u6674");
  EXPECT_EQ(Utf16ToUtf8(text), "A\xE6\x99\xB4\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf8ToUtf16("A\xE6\x99\xB4\xF0\x9F\x98\x80"), text);
  // Nothing is dropped silently: each broken piece shows as U+FFFD.
  EXPECT_EQ(Utf16FromBytes("A\0B", 3, false), u"A\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
}

TEST(TextEncodingConvert, FilesThroughTheCodePage) {
  const CodePageConverter& gbk = GbkCodePage();
  const std::string le = std::string("\xFF\xFE", 2) + Utf16ToBytes(u"\u6674\u5929", false);
  EXPECT_EQ(FileTextToCodePage(le, TextEncoding::Utf16Le, gbk), kQingTianGbk);
  EXPECT_EQ(FileTextToCodePage("\xEF\xBB\xBF" + kQingTianUtf8, TextEncoding::Utf8Bom, gbk), kQingTianGbk);
  // The code page's own bytes stay exactly as they are, even broken ones.
  EXPECT_EQ(FileTextToCodePage(kQingTianGbk + "\x81", TextEncoding::CodePage, gbk), kQingTianGbk + "\x81");
  // What GBK cannot hold is replaced visibly, never by a look-alike.
  EXPECT_EQ(Utf8ToCodePage("a\xF0\x9F\x98\x80" "b", gbk), "a?b");
  // Writing back gives the encoding and its mark again.
  EXPECT_EQ(CodePageToFileText(kQingTianGbk, TextEncoding::Utf16Le, gbk), le);
  EXPECT_EQ(CodePageToFileText(kQingTianGbk, TextEncoding::Utf8, gbk), kQingTianUtf8);
}
