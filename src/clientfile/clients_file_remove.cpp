#include "clientfile/clients_file_remove.hpp"

#include "clientfile/client_file.hpp"
#include "clientfile/file_layout.hpp"

namespace velmora {

Removal withoutEntries(std::string_view text, const ClientsFile& file,
                       std::vector<std::size_t> indexes) {
  Removal taken;
  for (const std::size_t index : indexes) {
    const BlockAt& at = file.blocks[index];
    taken.edits.push_back(removal(text, at.key.begin, at.close + 1, kEntryComment));
  }
  taken.removed = std::move(indexes);
  return taken;
}

Removal withoutAdmins(std::string_view text, const ClientsFile& file, std::string_view wanted) {
  return withoutEntries(text, file, file.entriesNamedBy(wanted));
}

}  // namespace velmora
