#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/result.hpp"

namespace velmora {

// The whole file as it is on disk, or why it cannot be read; fileName is the file as the
// operator knows it.
Result<std::string> readFileBytes(const std::filesystem::path& file, std::string_view fileName);

}  // namespace velmora
