#include "platform/link_target.hpp"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// As many links in a row as the system itself follows before it gives up.
constexpr int kMaxLinksFollowed = 40;

}  // namespace

fs::path finalTargetOf(fs::path path, std::error_code& failure) {
  for (int followed = 0; followed <= kMaxLinksFollowed; ++followed) {
    const fs::file_status status = fs::symlink_status(path, failure);
    if (status.type() == fs::file_type::not_found) {
      failure.clear();
      return path;
    }
    if (failure || !fs::is_symlink(status)) {
      return path;
    }
    const fs::path linked = fs::read_symlink(path, failure);
    if (failure) {
      return path;
    }
    path = path.parent_path() / linked;
  }
  failure = std::make_error_code(std::errc::too_many_symbolic_link_levels);
  return path;
}

fs::path folderOf(const fs::path& file) {
  return file.has_parent_path() ? file.parent_path() : fs::path(".");
}

}  // namespace velmora
