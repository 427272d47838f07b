#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::testing {

// The console's reading rules, one byte at a time and nothing clever, for holding the fast
// reader against.
class PlainReader {
 public:
  explicit PlainReader(std::string_view input) : input_(input) {}

  std::optional<std::int32_t> readNumber() {
    skipWhiteSpace();
    std::size_t digits = at_;
    const bool signed_ = digits < input_.size() && (input_[digits] == '+' || input_[digits] == '-');
    digits += signed_ ? 1 : 0;
    if (digits >= input_.size() || !isDigit(input_[digits])) {
      return std::nullopt;
    }
    const bool negative = signed_ && input_[at_] == '-';
    std::int64_t magnitude = 0;
    for (at_ = digits; at_ < input_.size() && isDigit(input_[at_]); ++at_) {
      magnitude = std::min<std::int64_t>(magnitude * 10 + (input_[at_] - '0'), 1LL << 31);
    }
    const std::int64_t value = negative ? -magnitude : std::min<std::int64_t>(magnitude, INT32_MAX);
    return static_cast<std::int32_t>(value);
  }

  std::string readWord(std::size_t maxLength) {
    skipWhiteSpace();
    const std::size_t start = at_;
    while (at_ < input_.size() && !isWhiteSpace(input_[at_])) {
      ++at_;
    }
    return std::string(input_.substr(start, std::min(at_ - start, maxLength)));
  }

  [[nodiscard]] bool atEnd() const { return at_ == input_.size(); }

 private:
  static bool isWhiteSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }
  void skipWhiteSpace() {
    while (at_ < input_.size() && isWhiteSpace(input_[at_])) {
      ++at_;
    }
  }

  std::string_view input_;
  std::size_t at_ = 0;
};

}  // namespace velmora::testing
