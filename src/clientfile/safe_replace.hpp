#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace velmora {

// How a replacement ended.
struct Replacement {
  // The first step that failed; empty when the new contents are in place and on disk.
  std::error_code failure;
  // The new contents did take the target's place, but the folder could not be synced, so the
  // change may not survive a power cut. Otherwise a failure leaves the target as it was.
  bool placed = false;
  // A temporary file that could not be removed after a failure; empty otherwise.
  std::filesystem::path leftover;
};

// Replaces the contents of target with bytes, all or nothing, and changes nothing else:
// - the bytes go to a new, uniquely named file beside the file that target finally names
//   (target itself when it is not a symbolic link), so no other file is ever opened;
// - that file gets the replaced file's permission bits, owner and group, reaches stable
//   storage, and is then renamed over it in one step, so links to it and its mode are kept;
// - every step is checked, and after a failure the temporary file is removed.
Replacement replaceFileContents(const std::filesystem::path& target, std::string_view bytes);

// The line that tells the operator about a failed replacement of the file named fileName.
std::string describeFailure(const Replacement& replacement, std::string_view fileName);

}  // namespace velmora
