#include "dialogue/answer_reader.hpp"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>

#include "text/character_classes.hpp"

namespace velmora {
namespace {

constexpr bool isWordCharacter(char c) { return !isWhiteSpace(c); }
constexpr bool isSign(char c) { return c == '+' || c == '-'; }

constexpr std::size_t kBlockSize = 64;

// Branch-free over a fixed-size block, so the compiler can test many bytes per instruction.
template <typename ByteTest>
bool wholeBlockPasses(const char* block, ByteTest test) {
  // A byte-wide accumulator keeps the vector lanes as narrow as the bytes themselves.
  unsigned char failures = 0;
  for (std::size_t i = 0; i < kBlockSize; ++i) {
    failures |= static_cast<unsigned char>(!test(block[i]));
  }
  return failures == 0;
}

// White space lies at or below the blank, so a block whose least byte is above it belongs to
// a word; finding the least byte takes a single vector instruction per 16 bytes.
bool wholeBlockInWord(const char* block) {
  unsigned char least = 0xFF;
  for (std::size_t i = 0; i < kBlockSize; ++i) {
    least = std::min(least, static_cast<unsigned char>(block[i]));
  }
  return least > ' ' || wholeBlockPasses(block, isWordCharacter);
}

// How many bytes at the front of bytes pass test. Huge runs are skipped a block at a time,
// each block judged by blockPasses.
template <typename BlockTest, typename ByteTest>
std::size_t leadingRun(std::string_view bytes, BlockTest blockPasses, ByteTest test) {
  std::size_t run = 0;
  while (bytes.size() - run >= kBlockSize && blockPasses(bytes.data() + run)) {
    run += kBlockSize;
  }
  while (run < bytes.size() && test(bytes[run])) {
    ++run;
  }
  return run;
}

template <typename ByteTest>
std::size_t leadingRun(std::string_view bytes, ByteTest test) {
  return leadingRun(
      bytes, [test](const char* block) { return wholeBlockPasses(block, test); }, test);
}

bool wholeBlockRepeats(const char* block) {
  unsigned char differences = 0;
  for (std::size_t i = 0; i < kBlockSize; ++i) {
    differences |= static_cast<unsigned char>(block[i] ^ block[0]);
  }
  return differences == 0;
}

// Long runs of white space are mostly one character repeated, which is the cheapest to
// recognise; from the first block that mixes characters on, each byte's class is tested.
std::size_t leadingWhiteSpace(std::string_view bytes) {
  std::size_t run = 0;
  while (bytes.size() - run >= kBlockSize && isWhiteSpace(bytes[run]) &&
         wholeBlockRepeats(bytes.data() + run)) {
    run += kBlockSize;
  }
  return run + leadingRun(bytes.substr(run), isWhiteSpace);
}

std::size_t leadingWordCharacters(std::string_view bytes) {
  return leadingRun(bytes, wholeBlockInWord, isWordCharacter);
}

std::size_t leadingDigits(std::string_view bytes) { return leadingRun(bytes, isDigit); }

}  // namespace

AnswerReader::AnswerReader(std::streambuf& source) : source_(source), buffer_(kBufferSize) {}

bool AnswerReader::pullFromSource() {
  if (sourceEnded_) {
    return false;
  }
  try {
    const std::streamsize got = readFromSource();
    end_ += static_cast<std::size_t>(got);
    sourceEnded_ = got == 0;
  } catch (const std::exception&) {
    // A file stream throws when the system cannot read, for instance when standard input is
    // closed or its terminal has gone; for the dialogue that is the end of input.
    sourceEnded_ = true;
  }
  return !sourceEnded_;
}

std::streamsize AnswerReader::readFromSource() {
  // With nothing buffered, a file stream asks the system how much can be read without
  // waiting, which lets large input arrive in few large reads.
  std::streamsize ready = source_.in_avail();
  if (ready <= 0) {
    if (source_.sgetc() == std::char_traits<char>::eof()) {
      return 0;
    }
    ready = std::max<std::streamsize>(source_.in_avail(), 1);
  }
  const auto room = static_cast<std::streamsize>(buffer_.size() - end_);
  return std::max<std::streamsize>(source_.sgetn(buffer_.data() + end_, std::min(ready, room)), 0);
}

std::string_view AnswerReader::pending(std::size_t wanted) {
  if (end_ - begin_ < wanted) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    while (end_ < wanted && pullFromSource()) {
    }
  }
  return {buffer_.data() + begin_, end_ - begin_};
}

template <typename RunLength, typename Take>
void AnswerReader::consumeRun(RunLength runLength, Take take) {
  for (std::string_view bytes = pending(); !bytes.empty(); bytes = pending()) {
    const std::size_t length = runLength(bytes);
    take(bytes.substr(0, length));
    consume(length);
    if (length < bytes.size()) {
      return;
    }
  }
}

void AnswerReader::skipWhiteSpace() {
  consumeRun(leadingWhiteSpace, [](std::string_view /*blanks*/) {});
}

std::optional<std::int32_t> AnswerReader::readNumber() {
  skipWhiteSpace();
  const std::string_view bytes = pending();
  if (bytes.empty()) {
    return std::nullopt;
  }
  const char lead = bytes.front();
  if (isDigit(lead)) {
    return consumeDigits(false);
  }
  // Looking past a sign needs the byte behind it; the sign stays pending if that is no digit.
  if (isSign(lead)) {
    const std::string_view signAndNext = pending(2);
    if (signAndNext.size() >= 2 && isDigit(signAndNext[1])) {
      consume(1);
      return consumeDigits(lead == '-');
    }
  }
  return std::nullopt;
}

std::int32_t AnswerReader::consumeDigits(bool negative) {
  using Limits = std::numeric_limits<std::int32_t>;
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(Limits::min()) : Limits::max();
  std::int64_t magnitude = 0;
  consumeRun(leadingDigits, [&magnitude, limit](std::string_view digits) {
    // Once at the limit, further digits cannot change the value.
    for (std::size_t i = 0; i < digits.size() && magnitude < limit; ++i) {
      magnitude = std::min(limit, magnitude * 10 + (digits[i] - '0'));
    }
  });
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::string AnswerReader::readWord(std::size_t maxLength) {
  skipWhiteSpace();
  std::string word;
  consumeRun(leadingWordCharacters, [&word, maxLength](std::string_view piece) {
    word.append(piece.substr(0, maxLength - word.size()));
  });
  return word;
}

std::optional<std::string> AnswerReader::readLine(std::size_t maxLength) {
  if (pending().empty()) {
    return std::nullopt;
  }
  std::string line;
  const auto toLineEnd = [](std::string_view bytes) {
    return std::min(bytes.find('\n'), bytes.size());
  };
  consumeRun(toLineEnd, [&line, maxLength](std::string_view piece) {
    line.append(piece.substr(0, maxLength - std::min(maxLength, line.size())));
  });
  // The line feed is buffered, if there is one: taking it waits for nothing more.
  if (!pending().empty()) {
    consume(1);
  }
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return line;
}

std::string AnswerReader::bufferedWord(std::size_t maxLength) const {
  std::string_view bytes(buffer_.data() + begin_, end_ - begin_);
  bytes.remove_prefix(std::min(bytes.size(), leadingWhiteSpace(bytes)));
  return std::string(bytes.substr(0, std::min(leadingWordCharacters(bytes), maxLength)));
}

}  // namespace velmora
