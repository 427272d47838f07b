#pragma once

#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "dialogue/answer_reader.hpp"

namespace velmora {

// The operator's side of the dialogue: prompts go out exactly as given, and every prompt is
// flushed before its answer is read, so it is visible even when output is a pipe.
class Console {
 public:
  Console(std::streambuf& input, std::ostream& output) : reader_(input), output_(output) {}

  void say(std::string_view text) { output_ << text; }
  template <std::size_t N>
  void say(const std::string_view (&texts)[N]) {
    for (const std::string_view text : texts) {
      say(text);
    }
  }

  // 0, the cleared value, when no number can be read.
  std::int32_t answerNumber();
  // At most maxLength characters; empty when input has ended.
  std::string answerWord(std::size_t maxLength);

 private:
  AnswerReader reader_;
  std::ostream& output_;
};

}  // namespace velmora
