#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace velmora {

// Writes bytes to a temporary file beside target, checks every write and the close, then
// renames it over target in one step. On any failure the temporary file is removed, target
// is left exactly as it was, and the reason is returned.
std::error_code replaceFileContents(const std::filesystem::path& target, std::string_view bytes);

}  // namespace velmora
