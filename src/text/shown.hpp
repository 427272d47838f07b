#pragma once

#include <string>
#include <string_view>

namespace velmora {

// text as it can be shown on a terminal: control characters would act on it, and bytes that
// are no UTF-8 would show as garbage or not at all, so these are shown as \xHH.
std::string shown(std::string_view text);

}  // namespace velmora
