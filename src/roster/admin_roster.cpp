#include "roster/admin_roster.hpp"

#include <algorithm>

namespace velmora {

void TextField::assign(std::string_view text) {
  length_ = std::min(text.size(), kMaxLength);
  std::copy_n(text.begin(), length_, chars_.begin());
}

void AdminRoster::clear() {
  count = 0;
  admins.fill(AdminRecord{});
}

}  // namespace velmora
