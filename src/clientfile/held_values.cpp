#include "clientfile/held_values.hpp"

#include <algorithm>

#include "roster/file_value.hpp"
#include "text/listed.hpp"
#include "text/shown.hpp"

namespace velmora {

Result<std::string> heldGroup(const ClientsFile& file, std::string_view fileName,
                              std::string_view kind, std::string_view group) {
  if (std::optional<std::string> spelled = file.definedSpelling(kind, fileValue(group))) {
    return std::move(*spelled);
  }
  const std::vector<std::string> defined = file.groupsDefined(kind);
  std::string line = "velmora: \"" + std::string(kind) + "\" group \"" + shown(group) +
                     "\" is not defined in " + std::string(fileName) + ": its \"groups\" section ";
  if (defined.empty()) {
    return Failure{line + "defines no \"" + std::string(kind) + "\" group"};
  }
  std::vector<std::string> shownGroups(defined.size());
  std::transform(defined.begin(), defined.end(), shownGroups.begin(),
                 [](const std::string& group) { return shown(group); });
  return Failure{line + "defines " + listed(shownGroups)};
}

std::optional<Failure> valueRefusal(std::string_view field, std::string_view value) {
  if (fitsInAValue(value)) {
    return std::nullopt;
  }
  return Failure{"velmora: the " + std::string(field) + " \"" + shown(value) +
                 "\" holds a line end or another control character, which no value in "
                 "clients.txt can hold"};
}

}  // namespace velmora
