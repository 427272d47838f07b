#include <gtest/gtest.h>

#include <vector>

#include "roster/packed_roster.hpp"

namespace velmora {
namespace {

// Admins whose texts sit side by side: an empty text beside a missing one, texts of every
// field and of none, must each come back as they went in.
const std::vector<EntryValues> kAdmins = {
    {"Ann", "Ann", "STEAM_0:1:7", std::nullopt, "Serveradmin", "NoFun"},
    {"", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
    {"Bob", "", std::nullopt, "", std::nullopt, ""},
    {"Иван", "Иван Петров", std::nullopt, "10.0.0.7", "Level 2 Access", std::nullopt},
    {"", "", "", std::nullopt, "", std::nullopt},
};

TEST(PackedRoster, GivesBackEachAdminAsItWasAdded) {
  PackedRoster roster;
  for (const EntryValues& admin : kAdmins) {
    roster.add(admin);
  }
  ASSERT_EQ(roster.size(), kAdmins.size());
  for (std::size_t i = 0; i < kAdmins.size(); ++i) {
    EXPECT_EQ(roster[i], kAdmins[i]) << "admin " << i;
    EXPECT_EQ(roster.key(i), kAdmins[i].key);
    for (const EntryField& field : kEntryFields) {
      EXPECT_EQ(roster.value(i, field), kAdmins[i].*field.member)
          << "admin " << i << " " << field.name;
    }
  }
}

}  // namespace
}  // namespace velmora
