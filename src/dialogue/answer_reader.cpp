#include "dialogue/answer_reader.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace velmora {
namespace {

// Blank, tab, line feed, vertical tab, form feed and carriage return.
constexpr std::array<bool, 256> kWhiteSpace = [] {
  std::array<bool, 256> table{};
  for (const unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'}) {
    table[c] = true;
  }
  return table;
}();

bool isWhiteSpace(char c) { return kWhiteSpace[static_cast<unsigned char>(c)]; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSign(char c) { return c == '+' || c == '-'; }

}  // namespace

AnswerReader::AnswerReader(std::streambuf& source) : source_(source), buffer_(kBufferSize) {}

bool AnswerReader::pullFromSource() {
  if (sourceEnded_) {
    return false;
  }
  if (source_.sgetc() == std::char_traits<char>::eof()) {
    sourceEnded_ = true;
    return false;
  }
  // Take only what the source already holds: asking for more would wait for input that an
  // operator at a terminal has not typed yet.
  const std::streamsize held = std::max<std::streamsize>(source_.in_avail(), 1);
  const std::streamsize room = static_cast<std::streamsize>(buffer_.size() - end_);
  const std::streamsize got = source_.sgetn(buffer_.data() + end_, std::min(held, room));
  end_ += static_cast<std::size_t>(std::max<std::streamsize>(got, 0));
  return got > 0;
}

bool AnswerReader::ensurePending(std::size_t wanted) {
  if (pending() >= wanted) {
    return true;
  }
  std::memmove(buffer_.data(), buffer_.data() + begin_, pending());
  end_ = pending();
  begin_ = 0;
  while (pending() < wanted) {
    if (!pullFromSource()) {
      return false;
    }
  }
  return true;
}

void AnswerReader::skipWhiteSpace() {
  while (ensurePending(1)) {
    const char* const data = buffer_.data();
    const char* const first = std::find_if_not(data + begin_, data + end_, isWhiteSpace);
    begin_ = static_cast<std::size_t>(first - data);
    if (begin_ < end_) {
      return;
    }
  }
}

std::optional<std::int32_t> AnswerReader::readNumber() {
  skipWhiteSpace();
  if (!ensurePending(1)) {
    return std::nullopt;
  }
  const char lead = buffer_[begin_];
  if (isDigit(lead)) {
    return consumeDigits(false);
  }
  if (isSign(lead) && ensurePending(2) && isDigit(buffer_[begin_ + 1])) {
    ++begin_;
    return consumeDigits(lead == '-');
  }
  return std::nullopt;
}

std::int32_t AnswerReader::consumeDigits(bool negative) {
  using Limits = std::numeric_limits<std::int32_t>;
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(Limits::min()) : Limits::max();
  std::int64_t magnitude = 0;
  while (ensurePending(1)) {
    const char* const data = buffer_.data();
    const char* const stop = std::find_if_not(data + begin_, data + end_, isDigit);
    for (const char* digit = data + begin_; digit != stop; ++digit) {
      magnitude = std::min(limit, magnitude * 10 + (*digit - '0'));
    }
    begin_ = static_cast<std::size_t>(stop - data);
    if (begin_ < end_) {
      break;
    }
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::string AnswerReader::readWord(std::size_t maxLength) {
  skipWhiteSpace();
  std::string word;
  while (ensurePending(1)) {
    const char* const data = buffer_.data();
    const char* const stop = std::find_if(data + begin_, data + end_, isWhiteSpace);
    const auto kept =
        std::min(static_cast<std::size_t>(stop - (data + begin_)), maxLength - word.size());
    word.append(data + begin_, kept);
    begin_ = static_cast<std::size_t>(stop - data);
    if (begin_ < end_) {
      break;
    }
  }
  return word;
}

}  // namespace velmora
