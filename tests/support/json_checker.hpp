#pragma once

#include <cstddef>
#include <string_view>

#include "support/utf8_oracle.hpp"

namespace velmora::testing {

// Whether text is one JSON value (RFC 8259) in well-formed UTF-8, written apart from the
// program's own JSON writer: a recursive descent over the grammar, with the depth bounded.
class JsonChecker {
 public:
  static bool isValid(std::string_view text) {
    JsonChecker checker(text);
    return checker.value(0) && (checker.skipSpace(), checker.at_ == text.size());
  }

 private:
  explicit JsonChecker(std::string_view text) : text_(text) {}

  void skipSpace() {
    while (at_ < text_.size() &&
           std::string_view(" \t\n\r").find(text_[at_]) != std::string_view::npos)
      ++at_;
  }
  bool take(char c) {
    skipSpace();
    if (at_ < text_.size() && text_[at_] == c) return ++at_, true;
    return false;
  }
  bool literal(std::string_view word) {
    if (text_.substr(at_).starts_with(word)) return at_ += word.size(), true;
    return false;
  }
  bool digits() {
    const std::size_t start = at_;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
    return at_ > start;
  }
  bool number() {
    take('-');
    if (literal("0")) return true;
    return at_ < text_.size() && text_[at_] != '0' && digits();
  }
  bool string() {
    if (!take('"')) return false;
    while (at_ < text_.size() && text_[at_] != '"') {
      const auto byte = static_cast<unsigned char>(text_[at_]);
      if (byte < 0x20) return false;
      if (byte == '\\') {
        ++at_;
        if (at_ >= text_.size()) return false;
        if (text_[at_] == 'u') {
          for (int i = 1; i <= 4; ++i) {
            if (at_ + i >= text_.size() ||
                std::string_view("0123456789abcdefABCDEF").find(text_[at_ + i]) ==
                    std::string_view::npos)
              return false;
          }
          at_ += 5;
        } else if (std::string_view("\"\\/bfnrt").find(text_[at_]) != std::string_view::npos) {
          ++at_;
        } else {
          return false;
        }
        continue;
      }
      const std::size_t length = decodedLength(text_.substr(at_));
      if (length == 0) return false;
      at_ += length;
    }
    return take('"');
  }
  template <typename Member>
  bool sequence(char close, int depth, Member member) {
    if (take(close)) return true;
    do {
      if (!member(depth + 1)) return false;
    } while (take(','));
    return take(close);
  }
  bool value(int depth) {
    skipSpace();
    if (depth > 64 || at_ >= text_.size()) return false;
    if (take('{'))
      return sequence('}', depth, [this](int d) {
        skipSpace();
        return string() && take(':') && value(d);
      });
    if (take('[')) return sequence(']', depth, [this](int d) { return value(d); });
    if (text_[at_] == '"') return string();
    if (literal("true") || literal("false") || literal("null")) return true;
    return number();
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace velmora::testing
