#include "app/diagnostics.hpp"

#include <string>

namespace velmora {

void reportLine(std::ostream& stream, std::string_view line) {
  std::string whole(line);
  whole += '\n';
  stream.write(whole.data(), static_cast<std::streamsize>(whole.size()));
  stream.flush();
}

ExitStatus reportFailure(std::ostream& errors, const Failure& failure, ExitStatus status) {
  reportLine(errors, failure.line);
  return status;
}

}  // namespace velmora
