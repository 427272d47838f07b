#pragma once

#include <filesystem>
#include <span>
#include <string_view>

#include "platform/result.hpp"

namespace velmora {

// Replaces the contents of target with bytes, all or nothing, and changes nothing else:
// - the bytes go to a new, uniquely named file beside the file that target finally names
//   (target itself when it is not a symbolic link), so no other file is ever opened;
// - that file gets the replaced file's permission bits, owner and group, reaches stable
//   storage, and is then renamed over it in one step, so links to it and its mode are kept;
// - every step is checked, and after a failure the temporary file is removed.
// A failure leaves target as it was, but for one: the new contents took its place, and only
// the folder could not be synced, so the change may not survive a power cut. fileName is the
// file as the operator knows it.
Result<> replaceFileContents(const std::filesystem::path& target, std::string_view bytes,
                             std::string_view fileName);

// The same with the new contents in pieces, one after another.
Result<> replaceFileContents(const std::filesystem::path& target,
                             std::span<const std::string_view> pieces, std::string_view fileName);

// Removes the temporary files of replacements of file that were cut short, which only a run
// killed inside its write leaves: it is to be called by the one writer of file, while no other
// run of the same rules is writing. Touches no file of any other name, nor a folder or link.
void removeLeftoverTemporaries(const std::filesystem::path& file);

}  // namespace velmora
