#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace velmora {

// The whole file as it is on disk, or nothing and the reason it cannot be read.
std::optional<std::string> readFileBytes(const std::filesystem::path& file,
                                         std::error_code& failure);

}  // namespace velmora
