#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora {

// The file that UTF-8 text names. On Windows the name becomes UTF-16; elsewhere the bytes
// stay as they are.
inline std::filesystem::path pathFromText(std::string_view text) {
  return {std::u8string(text.begin(), text.end())};
}

// A path as UTF-8, for messages: the narrow form would pass through Windows' ANSI code page.
inline std::string textOfPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return {text.begin(), text.end()};
}

}  // namespace velmora
