#pragma once

#include <filesystem>
#include <system_error>

namespace velmora {

// The file that path finally names, following symbolic links one after another as the system
// does; path itself when it is no link, and the end of the chain when that does not exist
// (yet). A link's relative target is taken from the folder that holds the link. failure says
// why a link could not be followed.
std::filesystem::path finalTargetOf(std::filesystem::path path, std::error_code& failure);

// The folder that holds file: "." for a name without one.
std::filesystem::path folderOf(const std::filesystem::path& file);

}  // namespace velmora
