#pragma once

#include <filesystem>
#include <ostream>

#include "app/answer_form.hpp"
#include "app/exit_status.hpp"

namespace velmora {

// Writes the admins of a clients file to output as a table or as one JSON array: kDone, or
// kCannotReadFile with the reason on errors, and nothing on output, when the file cannot be
// read or parsed. Writes no file.
ExitStatus listAdmins(const std::filesystem::path& file, AnswerForm form, std::ostream& output,
                      std::ostream& errors);

}  // namespace velmora
