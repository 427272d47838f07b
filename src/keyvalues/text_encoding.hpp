#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Some Windows editors begin a UTF-8 file with this mark; it is no part of the text.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Whether bytes begin with a UTF-16 byte-order mark, in either byte order, as a file saved as
// "Unicode" does. The server reads UTF-8, so such a file is none it can read.
bool startsAsUtf16(std::string_view bytes);

// The line that tells the operator why the UTF-16 file named fileName is refused.
std::string utf16Refusal(std::string_view fileName);

}  // namespace velmora
