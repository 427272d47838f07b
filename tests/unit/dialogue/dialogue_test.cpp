#include "dialogue/dialogue.hpp"

#include <gtest/gtest.h>

#include "support/occurrences.hpp"

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "dialogue/wording.hpp"
#include "support/trickle_buffer.hpp"

namespace velmora {
namespace {

using testing::occurrences;

struct Session {
  AdminRoster roster;
  std::string console;
};

Session run(const std::string& input) {
  Session session;
  std::stringbuf source(input);
  std::ostringstream output;
  Console console(source, output);
  runDialogue(session.roster, console);
  session.console = output.str();
  return session;
}

const std::string kOpening =
    "How many admins do you wish to set up?\n1=one admin, 2= two admins...\n"
    "Note: Works for 10 admins\n\n";
const std::string kClosingHint =
    "\n\nLook for you clients.txt file in the same folder as the velmora";

TEST(Dialogue, CountOutsideOneToTenAsksNothing) {
  for (const std::string input : {"0", "11", "-1", "bob\n1\n", "", "2147483648", "+", "\r\n"}) {
    const Session session = run(input);
    EXPECT_FALSE(session.roster.selectsAdmins()) << input;
    EXPECT_TRUE(session.console.starts_with(kOpening + kClosingHint)) << input;
    EXPECT_EQ(session.console.find("Enter"), std::string::npos) << input;
  }
}

TEST(Dialogue, SingleSteamAdminIsAskedWithTheSingleWording) {
  const Session session = run("1\nAnn\n1\nSTEAM_0:1:7\n4\n1\n5\n");
  EXPECT_EQ(session.console.substr(0, session.console.find(kClosingHint)),
            kOpening +
                "\n\nEnter your name: "
                "\n\nAdd admin by STEAMID or IP address?\n1=by STEAMID, 2=by IP address\n"
                "\n\nEnter your STEAMID:\tExample: if your STEAMID is STEAM_0:1:234567\n"
                "\t\t\tThen you enter: STEAM_0:1:1234567\n"
                "\nEnter the Group type this admin will be in: "
                "\n1=Serveradmin, 2=Clanmember, 3=Teamadmin\n4=Level 2 Access, 5=No Rcon Or Sound\n"
                "\nWould you like to give this admin Immunity?\n1=Yes, 2=No\n"
                "\nEnter the Immunity type this admin will have: "
                "\n1=Serveradmin, 2=Clanmember, 3=Teamadmin\n4=No Kick Ban, 5=NoFun\n");
  const AdminRecord& ann = session.roster.recordAt(1);
  EXPECT_EQ(ann.name.view(), "Ann");
  EXPECT_EQ(ann.steamId.view(), "STEAM_0:1:7");
  EXPECT_EQ(ann.ipAddress.view(), "");
  EXPECT_EQ(ann.adminGroup, 4);
  EXPECT_EQ(ann.immunityAnswer, 1);
  EXPECT_EQ(ann.immunityGroup, 5);
}

struct FollowUpCase {
  std::string answers;  // identification and immunity answers after the name
  bool steamIdAsked;
  bool ipAddressAsked;
  bool immunityGroupAsked;
};

TEST(Dialogue, FollowUpQuestionsDependOnTheirCodes) {
  const std::vector<FollowUpCase> cases = {
      {"1 S 1 1 3", true, false, true}, {"2 I 1 2", false, true, false},
      {"3 1 2", false, false, false},   {"0 1 7", false, false, false},
      {"-1 1 1 2", false, false, true}, {"x", false, false, false},
  };
  for (const FollowUpCase& c : cases) {
    const Session session = run("1 name " + c.answers);
    EXPECT_EQ(occurrences(session.console, "Enter your STEAMID:"), c.steamIdAsked) << c.answers;
    EXPECT_EQ(occurrences(session.console, "Enter your IP address: "), c.ipAddressAsked)
        << c.answers;
    EXPECT_EQ(occurrences(session.console, "Enter the Immunity type"), c.immunityGroupAsked)
        << c.answers;
    EXPECT_EQ(occurrences(session.console, "Would you like to give this admin Immunity?"), 1U);
  }
}

TEST(Dialogue, SecondWordOfANameFailsEveryNumberUntilTheNextName) {
  const Session session = run("2\nJohn Smith\n1\n");
  const AdminRecord& first = session.roster.recordAt(1);
  const AdminRecord& second = session.roster.recordAt(2);
  EXPECT_EQ(first.name.view(), "John");
  EXPECT_EQ(first.idMethod, 0);
  EXPECT_EQ(first.adminGroup, 0);
  EXPECT_EQ(first.immunityAnswer, 0);
  EXPECT_EQ(second.name.view(), "Smith");
  EXPECT_EQ(second.idMethod, 1);
  EXPECT_EQ(occurrences(session.console, "STEAMID: "), 1U);
}

TEST(Dialogue, EndOfInputStillPrintsEveryMainQuestion) {
  const Session session = run("3\n");
  EXPECT_EQ(occurrences(session.console, "\n1=by STEAMID, 2=by IP address\n"), 3U);
  EXPECT_EQ(occurrences(session.console, "\n4=Level 2 Access, 5=No Rcon Or Sound\n"), 3U);
  EXPECT_EQ(occurrences(session.console, "\n1=Yes, 2=No\n"), 3U);
  EXPECT_EQ(occurrences(session.console, "STEAMID: "), 0U);
  EXPECT_EQ(occurrences(session.console, "IP address: "), 0U);
  EXPECT_EQ(occurrences(session.console, "Immunity type"), 0U);
  for (int position = 1; position <= 3; ++position) {
    EXPECT_EQ(session.roster.recordAt(position).name.view(), "");
  }
}

TEST(Dialogue, DigitsRunningIntoLettersLeaveTheLettersForTheNextWord) {
  const Session session = run("2\nAnn\n2abc\n");
  EXPECT_EQ(session.roster.recordAt(1).idMethod, 2);
  EXPECT_EQ(session.roster.recordAt(1).ipAddress.view(), "abc");
}

// Hands out one byte per read and notes, at each read, how much output had been flushed.
class WatchedInput : public testing::TrickleBuffer {
 public:
  WatchedInput(std::string text, std::function<void()> onRead)
      : TrickleBuffer(std::move(text), 1), onRead_(std::move(onRead)) {}

 protected:
  int_type underflow() override {
    if (gptr() == egptr()) {
      onRead_();
    }
    return TrickleBuffer::underflow();
  }

 private:
  std::function<void()> onRead_;
};

class FlushRecorder : public std::stringbuf {
 public:
  std::string flushed;

 protected:
  int sync() override {
    flushed = str();
    return 0;
  }
};

TEST(Dialogue, EveryPromptIsFlushedBeforeItsAnswerIsRead) {
  FlushRecorder output;
  std::ostream out(&output);
  std::vector<std::string> unflushedAtRead;
  WatchedInput input("2\nA\n1\nS\n1\n1\n1\nB\n2\nI\n3\n2\n", [&] {
    unflushedAtRead.push_back(output.str().substr(output.flushed.size()));
  });
  Console console(input, out);
  AdminRoster roster;
  runDialogue(roster, console);
  EXPECT_EQ(roster.recordAt(2).ipAddress.view(), "I");
  ASSERT_FALSE(unflushedAtRead.empty());
  for (const std::string& unflushed : unflushedAtRead) {
    EXPECT_EQ(unflushed, "");
  }
}

}  // namespace
}  // namespace velmora
