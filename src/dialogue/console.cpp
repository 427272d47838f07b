#include "dialogue/console.hpp"

namespace velmora {

std::int32_t Console::answerNumber() {
  output_.flush();
  return reader_.readNumber().value_or(0);
}

std::string Console::answerWord(std::size_t maxLength) {
  output_.flush();
  return reader_.readWord(maxLength);
}

}  // namespace velmora
