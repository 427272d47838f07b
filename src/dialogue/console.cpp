#include "dialogue/console.hpp"

namespace velmora {

std::int32_t Console::answerNumber(int position) {
  output_.flush();
  const std::optional<std::int32_t> number = reader_.readNumber();
  // The text stays pending and fails every number question until a word question takes it;
  // it is noted once, where it was typed. A wrong number of admins has a warning of its own.
  if (!number && position > 0 && !strayPending_ && reader_.hasPendingText()) {
    strays_.push_back({.position = position, .text = {}, .takenAt = 0, .takenAs = {}});
    strayPending_ = true;
  }
  return number.value_or(0);
}

std::string Console::answerWord(std::size_t maxLength, int position, std::string_view what) {
  output_.flush();
  std::string word = reader_.readWord(maxLength);
  if (strayPending_) {
    strays_.back().text = word;
    strays_.back().takenAt = position;
    strays_.back().takenAs = what;
    strayPending_ = false;
  }
  return word;
}

std::vector<StrayText> Console::strayTexts() const {
  std::vector<StrayText> strays = strays_;
  if (strayPending_) {
    // Nothing took it, so it is still where the failed read left it.
    strays.back().text = reader_.bufferedWord(TextField::kBytesToJudgeCut);
  }
  return strays;
}

}  // namespace velmora
