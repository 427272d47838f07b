#include "roster/admin_roster.hpp"

#include <algorithm>

#include "text/utf8.hpp"

namespace velmora {

void TextField::assign(std::string_view text) {
  length_ = utf8::cutLength(text, kMaxLength);
  cut_ = length_ < text.size();
  std::copy_n(text.begin(), length_, chars_.begin());
}

void AdminRoster::clear() {
  count = 0;
  admins.fill(AdminRecord{});
}

}  // namespace velmora
