#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "clientfile/text_edits.hpp"
#include "platform/result.hpp"

namespace velmora {

// Makes edits to text, the contents of file (shown to the operator as name), and replaces
// the file with the result all or nothing; with dryRun, writes the edits to diff as a unified
// diff instead and changes nothing. What is shown is by construction what would be written.
Result<> changeFile(const std::filesystem::path& file, std::string_view name, std::string_view text,
                    std::span<const TextEdit> edits, bool dryRun, std::ostream& diff);

// Makes edits to shown, the contents of file as the operator was shown them (nothing, when
// there was no file), under the file's lock (see lockForChange), waiting up to wait: a
// change worked out on what was shown is made only to that, so a file another program changed
// meanwhile, or made, is left as it is, and the failure says so.
Result<> changeFileAsShown(const std::filesystem::path& file, std::string_view name,
                           const std::optional<std::string>& shown, std::span<const TextEdit> edits,
                           std::chrono::seconds wait, std::ostream& errors);

}  // namespace velmora
