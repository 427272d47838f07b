#include <cwchar>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.hpp"
#include "platform/console_text.hpp"

// The arguments come in UTF-16, as typed: the narrow ones would pass through the ANSI code
// page and lose every character outside it.
int wmain(int argc, wchar_t* argv[]) {
  std::vector<std::string> texts;
  for (int i = 1; i < argc; ++i) {
    texts.push_back(
        velmora::utf8FromUtf16(std::u16string(argv[i], argv[i] + std::wcslen(argv[i]))));
  }
  const std::vector<std::string_view> arguments(texts.begin(), texts.end());
  return velmora::runProgram(arguments);
}
