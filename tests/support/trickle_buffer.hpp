#pragma once

#include <streambuf>
#include <string>

namespace velmora::testing {

// Hands its text out a few bytes per read, the way a terminal delivers one line at a time,
// so that every buffer refill boundary inside the reader gets exercised.
class TrickleBuffer : public std::streambuf {
 public:
  TrickleBuffer(std::string text, std::size_t bytesPerRead)
      : text_(std::move(text)), bytesPerRead_(bytesPerRead) {}

  [[nodiscard]] std::size_t reads() const { return reads_; }

 protected:
  int_type underflow() override {
    if (gptr() != nullptr && gptr() < egptr()) {
      return traits_type::to_int_type(*gptr());
    }
    if (offset_ >= text_.size()) {
      return traits_type::eof();
    }
    char* const chunk = text_.data() + offset_;
    const std::size_t size = std::min(bytesPerRead_, text_.size() - offset_);
    offset_ += size;
    ++reads_;
    setg(chunk, chunk, chunk + size);
    return traits_type::to_int_type(*chunk);
  }

 private:
  std::string text_;
  std::size_t bytesPerRead_;
  std::size_t offset_ = 0;
  std::size_t reads_ = 0;
};

// Has no buffer at all: every byte is peeked at and taken through virtual calls, as with a
// stream synchronised with C's standard input.
class UnbufferedSource : public std::streambuf {
 public:
  explicit UnbufferedSource(std::string text) : text_(std::move(text)) {}

 protected:
  int_type underflow() override {
    return offset_ < text_.size() ? traits_type::to_int_type(text_[offset_]) : traits_type::eof();
  }
  int_type uflow() override {
    const int_type next = underflow();
    if (next != traits_type::eof()) {
      ++offset_;
    }
    return next;
  }

 private:
  std::string text_;
  std::size_t offset_ = 0;
};

}  // namespace velmora::testing
