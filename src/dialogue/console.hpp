#pragma once

#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "dialogue/answer_reader.hpp"
#include "roster/roster_warnings.hpp"

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

  // 0, the cleared value, when no number can be read. position is the admin the question is
  // about, or 0 for the number of admins.
  std::int32_t answerNumber(int position);
  // At most maxLength bytes; empty when input has ended. The question is admin position's
  // `what` ("name", "STEAMID", "IP address").
  std::string answerWord(std::size_t maxLength, int position, std::string_view what);

  // Text typed where an admin's number was asked, and which word question took it instead.
  // Complete once the last question has been answered.
  [[nodiscard]] std::vector<StrayText> strayTexts() const;

 private:
  AnswerReader reader_;
  std::ostream& output_;
  std::vector<StrayText> strays_;
  // Whether the last of strays_ still waits, unread, for a word question.
  bool strayPending_ = false;
};

}  // namespace velmora
