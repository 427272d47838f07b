#include "dialogue/answer_reader.hpp"

#include <gtest/gtest.h>

#include <ios>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/plain_reader.hpp"
#include "support/trickle_buffer.hpp"

namespace velmora {
namespace {

// One read: 'N' reads a number, 'W' a word of at most 31 characters. The expected result is
// the number as text ("fail" for a failed read) or the word.
struct Read {
  char rule;
  std::string expected;
};

struct ReadingCase {
  std::string name;
  std::string input;
  std::vector<Read> reads;
};

std::string perform(AnswerReader& reader, char rule) {
  if (rule == 'W') {
    return reader.readWord(31);
  }
  if (rule == 'L') {
    return reader.readLine(12).value_or("end of input");
  }
  const auto number = reader.readNumber();
  return number ? std::to_string(*number) : "fail";
}

const std::string kLongWord(40, 'x');

const std::vector<ReadingCase> kReadingCases = {
    {"number then word", "12 alice\n", {{'N', "12"}, {'W', "alice"}}},
    {"digits run into letters", "12abc\n", {{'N', "12"}, {'W', "abc"}, {'N', "fail"}}},
    {"digits into letters then number",
     "12abc 7",
     {{'N', "12"}, {'N', "fail"}, {'W', "abc"}, {'N', "7"}}},
    {"failed number leaves the word pending",
     "bob 5",
     {{'N', "fail"}, {'N', "fail"}, {'W', "bob"}, {'N', "5"}}},
    {"two words on one line",
     "alice smith\n3\n",
     {{'W', "alice"}, {'N', "fail"}, {'W', "smith"}, {'N', "3"}}},
    {"all six white-space characters", " \t\n\v\f\r42\r\n\t word", {{'N', "42"}, {'W', "word"}}},
    {"windows line ends",
     "2\r\nalice\r\n1\r\n",
     {{'N', "2"}, {'W', "alice"}, {'N', "1"}, {'W', ""}, {'N', "fail"}}},
    {"signs", "+7 -7 -0 +0", {{'N', "7"}, {'N', "-7"}, {'N', "0"}, {'N', "0"}}},
    {"sign without digit stays pending", "- 5", {{'N', "fail"}, {'W', "-"}, {'N', "5"}}},
    {"sign before letters stays pending", "-abc", {{'N', "fail"}, {'W', "-abc"}}},
    {"double sign", "--5", {{'N', "fail"}, {'W', "--5"}}},
    {"sign at end of input", "+", {{'N', "fail"}, {'W', "+"}, {'N', "fail"}}},
    {"sign then line end", "-\n3", {{'N', "fail"}, {'W', "-"}, {'N', "3"}}},
    {"largest numbers", "2147483647 -2147483648", {{'N', "2147483647"}, {'N', "-2147483648"}}},
    {"beyond range clamps, never wraps",
     "4294967297 2147483648 -2147483649 1",
     {{'N', "2147483647"}, {'N', "2147483647"}, {'N', "-2147483648"}, {'N', "1"}}},
    {"long digit run is consumed whole",
     std::string(100, '9') + "x 3",
     {{'N', "2147483647"}, {'W', "x"}, {'N', "3"}}},
    {"leading zeros", "0000000000000000000000001", {{'N', "1"}}},
    {"over-long word keeps 31 characters, drops the rest",
     kLongWord + " next",
     {{'W', std::string(31, 'x')}, {'W', "next"}}},
    {"word of exactly 31", std::string(31, 'y') + "\n", {{'W', std::string(31, 'y')}}},
    {"word with quotes and punctuation", "\"a\\b{}\" 1", {{'W', "\"a\\b{}\""}, {'N', "1"}}},
    {"end of input at once", "", {{'N', "fail"}, {'W', ""}, {'N', "fail"}}},
    {"only white space", " \r\n\t ", {{'W', ""}, {'N', "fail"}}},
    {"word at end without line end", "bob", {{'W', "bob"}, {'W', ""}}},
    {"number at end without line end", "10", {{'N', "10"}, {'N', "fail"}}},
    {"non-ASCII bytes are word characters",
     "\xC3\xA9t\xC3\xA9 \xA0",
     {{'W', "\xC3\xA9t\xC3\xA9"}, {'W', "\xA0"}}},
    {"lines keep their blanks and lose the CR before their line feed",
     "  Ann Lee \r\n6\r\r\n",
     {{'L', "  Ann Lee "}, {'L', "6\r"}, {'L', "end of input"}}},
    {"a line that input ends without a line feed", "6", {{'L', "6"}, {'L', "end of input"}}},
    {"empty lines", "\n\r\n", {{'L', ""}, {'L', ""}, {'L', "end of input"}}},
    {"an over-long line keeps its start and drops the rest",
     std::string(20, 'z') + "\nnext\n",
     {{'L', std::string(12, 'z')}, {'L', "next"}}},
    {"a line after a number takes the rest of its line",
     "12 apples\nx",
     {{'N', "12"}, {'L', " apples"}, {'L', "x"}}},
    {"NUL byte is a word character",
     std::string("a\0b c", 5),
     {{'W', std::string("a\0b", 3)}, {'W', "c"}}},
};

class ReadingRules : public ::testing::TestWithParam<std::size_t> {};

void expectReads(std::streambuf& source, const ReadingCase& reading) {
  AnswerReader reader(source);
  for (std::size_t i = 0; i < reading.reads.size(); ++i) {
    const Read& read = reading.reads[i];
    EXPECT_EQ(perform(reader, read.rule), read.expected) << "read " << i + 1;
  }
}

TEST_P(ReadingRules, WholeInputAtOnce) {
  const ReadingCase& reading = kReadingCases[GetParam()];
  std::stringbuf source(reading.input);
  expectReads(source, reading);
}

TEST_P(ReadingRules, InputOneByteAtATime) {
  const ReadingCase& reading = kReadingCases[GetParam()];
  testing::TrickleBuffer source(reading.input, 1);
  expectReads(source, reading);
}

TEST_P(ReadingRules, UnbufferedSource) {
  const ReadingCase& reading = kReadingCases[GetParam()];
  testing::UnbufferedSource source(reading.input);
  expectReads(source, reading);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadingRules,
                         ::testing::Range<std::size_t>(0, kReadingCases.size()),
                         [](const auto& info) {
                           std::string name = kReadingCases[info.param].name;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

std::string mixedWhiteSpace(std::size_t size) {
  std::string text;
  while (text.size() < size) {
    text += " \t\n\v\f\r  ";
  }
  return text;
}

TEST(AnswerReader, HugeInputPassesThroughBoundedBuffer) {
  const std::string blanks(1 << 20, ' ');
  // Control characters inside a word are word characters, however far in they come.
  const std::string word = "a\x01" + std::string(1 << 20, 'w') + "\x1f\x7f\xff" + "end";
  const std::string input =
      blanks + word + mixedWhiteSpace(1 << 20) + "\x1f" + blanks + "-12345" + mixedWhiteSpace(999);
  for (const std::size_t bytesPerRead : {4093, 1 << 16, 1 << 22}) {
    testing::TrickleBuffer source(input, bytesPerRead);
    AnswerReader reader(source);
    EXPECT_EQ(reader.readWord(31), "a\x01" + std::string(29, 'w'));
    EXPECT_EQ(reader.readWord(31), "\x1f");
    EXPECT_EQ(reader.readNumber(), -12345);
    EXPECT_EQ(reader.readWord(31), "");
  }
}

TEST(AnswerReader, NeverAsksTheSourceAgainAfterItsEnd) {
  testing::TrickleBuffer source("7", 1);
  AnswerReader reader(source);
  EXPECT_EQ(reader.readNumber(), 7);
  EXPECT_FALSE(reader.readNumber());
  const std::size_t readsAtEnd = source.reads();
  EXPECT_FALSE(reader.readNumber());
  EXPECT_EQ(reader.readWord(31), "");
  EXPECT_EQ(source.reads(), readsAtEnd);
}

// Fails the way a file stream does when its descriptor is closed or its terminal is gone.
class FailingSource : public testing::TrickleBuffer {
 public:
  using TrickleBuffer::TrickleBuffer;

 protected:
  int_type underflow() override {
    if (++underflows_ > 1) {
      throw std::ios_base::failure("error reading the file");
    }
    return TrickleBuffer::underflow();
  }

 private:
  int underflows_ = 0;
};

TEST(AnswerReader, ReadErrorEndsInput) {
  FailingSource source("12 ab", 4);
  AnswerReader reader(source);
  EXPECT_EQ(reader.readNumber(), 12);
  EXPECT_EQ(reader.readWord(31), "a");
  EXPECT_FALSE(reader.readNumber());
  EXPECT_EQ(reader.readWord(31), "");
}

TEST(AnswerReader, TakesOnlyWhatTheSourceAlreadyHolds) {
  // Reading one answer must not wait for the next line: a terminal would block there.
  testing::TrickleBuffer source("3\nbob\n", 2);
  AnswerReader reader(source);
  EXPECT_EQ(reader.readNumber(), 3);
  EXPECT_EQ(source.reads(), 1U);
}

// Inputs built from runs at and around the reader's 64-byte block size, read in random
// orders of numbers and words: every answer must be the one a byte-by-byte reader gives.
std::string runsAroundTheBlockSize(std::mt19937& random) {
  static constexpr std::size_t kLengths[] = {1,  2,  31,  32,  33,  63,  64,  65,
                                             66, 95, 127, 128, 129, 191, 192, 193};
  static constexpr std::string_view kFillers[] = {" ", " \t\r\n\v\f", "w",   "7", "\x80\xff\x1f",
                                                  "-", "+1",          "ab\n"};
  std::string input;
  const int runs = std::uniform_int_distribution(1, 12)(random);
  for (int i = 0; i < runs; ++i) {
    const std::string_view filler = kFillers[random() % std::size(kFillers)];
    const std::size_t length = kLengths[random() % std::size(kLengths)];
    for (std::size_t n = 0; n < length; ++n) {
      input += filler[n % filler.size()];
    }
  }
  return input;
}

TEST(AnswerReader, BlockScansAgreeWithAByteByByteReader) {
  std::mt19937 random(20261207);
  for (int session = 0; session < 2000; ++session) {
    const std::string input = runsAroundTheBlockSize(random);
    const std::size_t bytesPerRead =
        std::array<std::size_t, 5>{1, 63, 64, 65, 1 << 16}[random() % 5];
    testing::TrickleBuffer source(input, bytesPerRead);
    AnswerReader reader(source);
    testing::PlainReader plain(input);
    for (int read = 0; !plain.atEnd() && read < 200; ++read) {
      const char rule = random() % 2 == 0 ? 'N' : 'W';
      const auto plainNumber = rule == 'N' ? plain.readNumber() : std::nullopt;
      const std::string expected = rule == 'W'   ? plain.readWord(31)
                                   : plainNumber ? std::to_string(*plainNumber)
                                                 : "fail";
      ASSERT_EQ(perform(reader, rule), expected)
          << "read " << read << " of " << ::testing::PrintToString(input);
    }
  }
}

}  // namespace
}  // namespace velmora
