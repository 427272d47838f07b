#include "app/after_dialogue.hpp"

#include "app/diagnostics.hpp"

namespace velmora {

ExitStatus reportAfterDialogue(std::ostream& output, std::ostream& errors,
                               std::span<const std::string> warnings, const Result<>& written) {
  // Below the closing lines and above the wait's prompt, where a console window shows them.
  output.flush();
  for (const std::string& warning : warnings) {
    reportLine(errors, warning);
  }
  return written.failed() ? reportFailure(errors, written.failure(), ExitStatus::kNotDone)
                          : ExitStatus::kDone;
}

}  // namespace velmora
