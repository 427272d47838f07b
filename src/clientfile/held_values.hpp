#pragma once

#include <string>
#include <string_view>

#include "clientfile/clients_file_reader.hpp"
#include "platform/result.hpp"

namespace velmora {

// group, typed for kind ("Admin" or "Immunity"), as file's global "groups" section spells it,
// letter case aside; or, when the section does not define it, the refusal that names the
// groups it does define, so that a typo never leaves an admin without rights in silence.
Result<std::string> heldGroup(const ClientsFile& file, std::string_view fileName,
                              std::string_view kind, std::string_view group);

// The refusal of a value typed for field that holds a line end or another control character,
// which no value in the file can hold; empty when the value is fine.
std::optional<Failure> valueRefusal(std::string_view field, std::string_view value);

}  // namespace velmora
