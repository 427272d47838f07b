#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace velmora {

// Where a value goes in a text template.
inline constexpr std::string_view kSlot = "%s";

// text with each "%s" replaced by the next of values, in order; text must hold at least as
// many slots as there are values.
std::string filled(std::string_view text, std::initializer_list<std::string_view> values);

}  // namespace velmora
