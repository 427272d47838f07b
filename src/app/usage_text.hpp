#pragma once

#include <string>
#include <string_view>

namespace velmora {

// What --help prints.
std::string_view usageText();

// What --version prints: the version, the copyright and the licence.
std::string versionText();

}  // namespace velmora
