#pragma once

#include <filesystem>
#include <ostream>

#include "app/answer_form.hpp"
#include "app/exit_status.hpp"

namespace velmora {

// Reads and checks a clients file and writes the report to output, as lines or as one JSON
// object: kDone without findings, kProblemsFound with findings, kCannotReadFile when the file
// cannot be parsed, or cannot be read (then only the reason goes to errors). Writes no file.
ExitStatus checkClientsFile(const std::filesystem::path& file, AnswerForm form,
                            std::ostream& output, std::ostream& errors);

}  // namespace velmora
