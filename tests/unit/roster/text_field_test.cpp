#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "roster/admin_roster.hpp"

namespace velmora {
namespace {

struct CutCase {
  std::string what;
  std::string word;
  std::size_t kept;  // bytes kept, worked out by hand from the byte table of UTF-8
};

std::string a(std::size_t count) { return std::string(count, 'a'); }

std::string repeated(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

const std::string kZhe = "\xd0\x96";  // Cyrillic capital Zhe, two bytes

const std::vector<CutCase> kCutCases = {
    {"ASCII of 31 bytes", a(31), 31},
    {"ASCII of 32 bytes", a(32), 31},
    {"2-byte character ending at byte 31", a(29) + "\xc3\xa9", 31},
    {"2-byte character straddling byte 31", a(30) + "\xc3\xa9", 30},
    {"3-byte character ending at byte 31", a(28) + "\xe2\x82\xac", 31},
    {"3-byte character, two bytes in", a(29) + "\xe2\x82\xac", 29},
    {"3-byte character, one byte in", a(30) + "\xe2\x82\xac", 30},
    {"4-byte character ending at byte 31", a(27) + "\xf0\x9f\x98\x80", 31},
    {"4-byte character, three bytes in", a(28) + "\xf0\x9f\x98\x80", 28},
    {"4-byte character, one byte in", a(30) + "\xf0\x9f\x98\x80" + a(5), 30},
    {"sixteen Cyrillic letters", repeated(kZhe, 16), 30},
    {"cut at a character boundary", repeated(kZhe, 15) + "ab", 31},
    {"lead byte without its continuation", a(30) + "\xc3" + "b", 31},
    {"overlong form", a(30) + "\xe0\x80\x80", 31},
    {"overlong 2-byte form", a(30) + "\xc0\xaf", 31},
    {"overlong 4-byte form", a(28) + "\xf0\x8f\xbf\xbf", 31},
    {"3-byte lead whose third byte is no continuation", a(29) + "\xe2\x82" + "b", 31},
    {"surrogate", a(30) + "\xed\xa0\x80", 31},
    {"above U+10FFFF", a(28) + "\xf4\x90\x80\x80", 31},
    {"last 4-byte character, U+10FFFF", a(28) + "\xf4\x8f\xbf\xbf", 28},
    {"continuation bytes alone", std::string(40, '\x80'), 31},
};

TEST(TextField, KeepsAtMost31BytesAndNeverPartOfACharacter) {
  for (const CutCase& c : kCutCases) {
    TextField field;
    field.assign(c.word);
    EXPECT_EQ(field.view(), c.word.substr(0, c.kept)) << c.what;
    EXPECT_EQ(field.wasCut(), c.word.size() > 31) << c.what;
  }
}

}  // namespace
}  // namespace velmora
