#include "platform/console_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora {
namespace {

// Console reads in order, and the UTF-8 the answer reader must get, written out by hand.
struct ConsoleCase {
  std::string what;
  std::vector<std::u16string> reads;
  std::string utf8;
  bool ended;
};

const std::vector<ConsoleCase> kConsoleCases = {
    {"letters of several scripts and the console's line end",
     {u"J\u00f6rg\r\n", u"\u0418\u0432\u0430\u043d \u674e\r\n"},
     "J\xc3\xb6rg\r\n\xd0\x98\xd0\xb2\xd0\xb0\xd0\xbd \xe6\x9d\x8e\r\n",
     false},
    {"a surrogate pair whole", {u"\U0001F600gamer\r\n"}, "\xf0\x9f\x98\x80gamer\r\n", false},
    {"a surrogate pair split across two reads",
     {u"a\xD83D",
      u"\xDE00"
      u"b\r\n"},
     "a\xf0\x9f\x98\x80"
     "b\r\n",
     false},
    {"a pair split across reads, then a read of its own",
     {u"a\xD83D",
      u"\xDE00"
      u"b",
      u"c\r\n"},
     "a\xf0\x9f\x98\x80"
     "bc\r\n",
     false},
    {"the last code point, U+10FFFF", {u"\U0010FFFF\r\n"}, "\xf4\x8f\xbf\xbf\r\n", false},
    {"a high surrogate without its partner", {u"a\xD83Dx\r\n"}, "a\xef\xbf\xbdx\r\n", false},
    {"a low surrogate alone", {u"\xDE00\r\n"}, "\xef\xbf\xbd\r\n", false},
    {"Ctrl+Z at the start of the first line", {u"\x1A\r\n", u"more\r\n"}, "", true},
    {"Ctrl+Z at the start of a later line",
     {u"12\r\n",
      u"\x1A"
      u"abc\r\n"},
     "12\r\n",
     true},
    {"Ctrl+Z inside a line is a character",
     {u"a\x1A"
      u"b\r\n"},
     "a\x1A"
     "b\r\n",
     false},
    {"Ctrl+Z where a long line goes on in the next read",
     {u"abc", u"\x1A\r\n"},
     "abc\x1A\r\n",
     false},
};

TEST(ConsoleTextDecoder, GivesTheBytesAPipeWouldGive) {
  for (const ConsoleCase& c : kConsoleCases) {
    ConsoleTextDecoder decoder;
    std::string utf8;
    for (const std::u16string& read : c.reads) {
      utf8 += decoder.decode(read);
    }
    EXPECT_EQ(utf8, c.utf8) << c.what;
    EXPECT_EQ(decoder.ended(), c.ended) << c.what;
  }
}

// Code points at each length limit of UTF-8 and their bytes, written out by hand from RFC
// 3629's table.
struct LimitCase {
  std::u16string utf16;
  std::string utf8;
};

const std::vector<LimitCase> kLimitCases = {
    {u"\u007F", "\x7f"},
    {u"\u0080", "\xc2\x80"},
    {u"\u0416", "\xd0\x96"},  // Cyrillic Zhe, above U+03FF
    {u"\u07FF", "\xdf\xbf"},
    {u"\u0800", "\xe0\xa0\x80"},
    {u"\uFFFF", "\xef\xbf\xbf"},
    {u"\U00010000", "\xf0\x90\x80\x80"},
    {u"\U0010FFFF", "\xf4\x8f\xbf\xbf"},
};

TEST(ConsoleText, EveryLengthLimitBothWays) {
  for (const LimitCase& c : kLimitCases) {
    EXPECT_EQ(utf8FromUtf16(c.utf16), c.utf8) << c.utf8.size() << " bytes";
    EXPECT_EQ(utf16FromUtf8(c.utf8), c.utf16) << c.utf8.size() << " bytes";
  }
}

TEST(ConsoleText, Utf16ForTheConsoleReplacesWhatIsNoUtf8) {
  EXPECT_EQ(utf16FromUtf8("J\xc3\xb6rg \xf0\x9f\x98\x80"), u"J\u00f6rg \U0001F600");
  EXPECT_EQ(utf16FromUtf8("J\xf6rg \xed\xa0\x80"), u"J\uFFFDrg \uFFFD\uFFFD\uFFFD");
}

}  // namespace
}  // namespace velmora
