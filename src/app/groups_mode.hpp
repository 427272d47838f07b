#pragma once

#include <filesystem>
#include <ostream>

#include "app/answer_form.hpp"
#include "app/exit_status.hpp"

namespace velmora {

// Writes the groups of a clients file's global "groups" section to output as a table or as
// one JSON array: kDone, or kCannotReadFile with the reason on errors, and nothing on output,
// when the file cannot be read or parsed. Writes no file.
ExitStatus listGroups(const std::filesystem::path& file, AnswerForm form, std::ostream& output,
                      std::ostream& errors);

}  // namespace velmora
