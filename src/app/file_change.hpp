#pragma once

#include <filesystem>
#include <ostream>
#include <span>
#include <string_view>

#include "clientfile/text_edits.hpp"
#include "platform/result.hpp"

namespace velmora {

// Makes edits to text, the contents of file (shown to the operator as name), and replaces
// the file with the result all or nothing; with dryRun, writes the edits to diff as a unified
// diff instead and changes nothing. What is shown is by construction what would be written.
Result<> changeFile(const std::filesystem::path& file, std::string_view name, std::string_view text,
                    std::span<const TextEdit> edits, bool dryRun, std::ostream& diff);

}  // namespace velmora
