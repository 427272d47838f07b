#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Reads answers from a byte source by the console's two rules:
// - a number is optional white space, an optional sign and decimal digits; reading stops
//   before the first non-digit, which stays pending. A failed read consumes only the white
//   space, so it never blocks later reads (unlike std::istream's failbit).
// - a word is optional white space, then everything up to the next white space, which stays
//   pending.
// It also reads whole lines, for the operator's menu, which takes an answer per line.
// Input passes through one fixed-size buffer, so memory stays bounded however much is typed.
// The reader only takes what the source says is ready, or else waits for one read, never for
// a fixed amount, so a terminal answer is taken as soon as its line is complete. A source is
// not read again once it has reported its end, so the end-of-input key ends every remaining
// question instead of waiting for more.
class AnswerReader {
 public:
  explicit AnswerReader(std::streambuf& source);

  // Empty when no number can be read. A number beyond the signed 32-bit range consumes all
  // its digits and yields the nearest limit, so it can never wrap into a valid code.
  // A sign not followed by a digit fails the read and stays pending, like any other
  // non-digit.
  std::optional<std::int32_t> readNumber();

  // Empty when input ends before a word begins. Keeps the first maxLength characters and
  // consumes the rest of the word, so an over-long answer never spills into the next one.
  std::string readWord(std::size_t maxLength);

  // One line, up to its line feed, which is consumed, without a CR before it; empty when input
  // has ended before it. A line that input ends without a line feed counts as one. Keeps the
  // first maxLength bytes and consumes the rest of the line.
  std::optional<std::string> readLine(std::size_t maxLength);

  // Whether input goes on after a failed read: true when it stopped at a character, false at
  // the end of input. Reads nothing.
  [[nodiscard]] bool hasPendingText() const { return begin_ < end_; }
  // The first maxLength bytes of the word that the next word read would take, as far as
  // input has already arrived; reads nothing, so it never waits at a terminal.
  [[nodiscard]] std::string bufferedWord(std::size_t maxLength) const;

 private:
  static constexpr std::size_t kBufferSize = std::size_t{64} * 1024;

  // The buffered bytes not yet consumed, at least `wanted` of them unless input ends first.
  std::string_view pending(std::size_t wanted = 1);
  // Appends what the source holds to the buffer; false once input has ended.
  bool pullFromSource();
  // The number of bytes appended, 0 at end of input.
  std::streamsize readFromSource();
  void consume(std::size_t count) { begin_ += count; }
  // Consumes the run that runLength measures at the front of the pending bytes, across as
  // many refills as it spans, handing each buffered piece of it to take.
  template <typename RunLength, typename Take>
  void consumeRun(RunLength runLength, Take take);
  void skipWhiteSpace();
  std::int32_t consumeDigits(bool negative);

  std::streambuf& source_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool sourceEnded_ = false;
};

}  // namespace velmora
