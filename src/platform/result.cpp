#include "platform/result.hpp"

namespace velmora {

Failure systemFailure(std::string_view what, std::error_code cause) {
  std::string line = "velmora: ";
  line.append(what).append(": ").append(cause.message());
  return {std::move(line), cause};
}

}  // namespace velmora
