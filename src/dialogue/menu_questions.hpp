#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <streambuf>
#include <string>
#include <string_view>
#include <variant>

#include "dialogue/answer_reader.hpp"
#include "dialogue/menu_wording.hpp"

namespace velmora {

// A value an admin may have or not: empty for none.
using MaybeText = std::optional<std::string>;

// How an answer names one of many admins: its index, or why it names none or several.
using AdminFound = std::variant<std::size_t, std::string>;

// The questions of the operator's menu. Each answer is one whole line, without the white
// space around it, so a name may hold blanks. Where a question shows what an admin has now,
// an empty line keeps it and "-" takes away a value the admin may be without. An answer that
// does not fit is named and the question is asked again. Every question gives nothing once
// input has ended, which ends the run; every prompt is flushed before its answer is read.
class MenuQuestions {
 public:
  MenuQuestions(std::streambuf& input, std::ostream& output) : reader_(input), output_(output) {}

  void say(std::string_view text) { output_ << text; }

  // The menu, after header: which of its choices.
  std::optional<menu::Choice> choice(std::string_view header);
  // Which of count admins: a number from 1 to count is its place in the list; any other
  // answer is given to find.
  std::optional<std::size_t> admin(std::size_t count,
                                   const std::function<AdminFound(std::string_view)>& find);
  // The admin's name; now is the one it has, when it is there already.
  std::optional<std::string> name(const std::optional<std::string>& now);
  // A STEAMID in any form velmora knows, or an IP address; now is the one the admin has, when
  // it is there already.
  std::optional<MaybeText> identifier(const std::optional<MaybeText>& now);
  // One of the groups of kind ("Admin" or "Immunity") that the file defines, listed with their
  // numbers; the answer is a number or a name, letter case aside.
  std::optional<MaybeText> group(std::string_view kind, std::span<const std::string> groups,
                                 const std::optional<MaybeText>& now);
  // Whether to do what verb says, after it was shown.
  std::optional<bool> confirm(std::string_view verb);
  // Waits for the operator to press Enter, or for input to end.
  void waitForEnter();

 private:
  static constexpr std::size_t kLongestAnswer = 4096;

  std::optional<std::string> answer();
  // A value the admin may be without, asked by question: what named makes of the answer, or,
  // where the admin is there already (now), what it has for an empty line and none for "-".
  // refusal says what an answer named does not name.
  std::optional<MaybeText> value(
      const std::string& question, const std::optional<MaybeText>& now,
      const std::function<std::optional<std::string>(const std::string&)>& named,
      std::string_view refusal);

  AnswerReader reader_;
  std::ostream& output_;
};

}  // namespace velmora
