#include "app/check_mode.hpp"

#include <string>

#include "app/diagnostics.hpp"
#include "clientfile/clients_file_check.hpp"
#include "clientfile/clients_file_load.hpp"
#include "text/path_text.hpp"

namespace velmora {

ExitStatus checkClientsFile(const std::filesystem::path& file, AnswerForm form,
                            std::ostream& output, std::ostream& errors) {
  const std::string name = textOfPath(file);
  const Result<std::string> bytes = readClientsText(file, name);
  if (bytes.failed()) {
    return reportFailure(errors, bytes.failure(), ExitStatus::kCannotReadFile);
  }
  const CheckReport report = checkClientsText(name, bytes.value());
  if (form == AnswerForm::kJson) {
    output << report.json << '\n';
  } else {
    for (const std::string& line : report.lines) {
      output << line << '\n';
    }
  }
  output.flush();
  switch (report.verdict) {
    case CheckReport::Verdict::kSound:
      return ExitStatus::kDone;
    case CheckReport::Verdict::kProblems:
      return ExitStatus::kProblemsFound;
    case CheckReport::Verdict::kUnparsable:
      break;
  }
  return ExitStatus::kCannotReadFile;
}

}  // namespace velmora
