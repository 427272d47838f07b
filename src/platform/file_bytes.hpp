#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/result.hpp"

namespace velmora {

// The file opened to be read from its start, or why it cannot be read; fileName is the file as
// the operator knows it.
Result<std::ifstream> openForReading(const std::filesystem::path& file, std::string_view fileName);

// The whole file as it is on disk, or why it cannot be read; fileName is the file as the
// operator knows it.
Result<std::string> readFileBytes(const std::filesystem::path& file, std::string_view fileName);

// Whether file holds exactly bytes, read a piece at a time so that a large file is not held
// twice; false when it cannot be read.
bool fileHolds(const std::filesystem::path& file, std::string_view bytes);

}  // namespace velmora
