#include "dialogue/dialogue.hpp"

#include "dialogue/wording.hpp"
#include "roster/entry_wording.hpp"

namespace velmora {
namespace {

void answerText(Console& console, TextField& field, int position, std::string_view what) {
  field.assign(console.answerWord(TextField::kBytesToJudgeCut, position, what));
}

}  // namespace

void askAdmin(AdminRoster& roster, int position, int count, Console& console) {
  const PromptSet prompts = promptSetFor(count, position);
  AdminRecord& admin = roster.recordAt(position);

  console.say(prompts.namePrompt);
  answerText(console, admin.name, position, kNameText);

  console.say(prompts.idQuestion);
  console.say(wording::kIdMenu);
  admin.idMethod = console.answerNumber(position);
  if (isCode(admin.idMethod, IdMethod::kBySteamId)) {
    console.say(prompts.steamIdPrompt);
    console.say(prompts.steamIdExample);
    console.say(prompts.steamIdHint);
    answerText(console, admin.steamId, position, kSteamIdText);
  }
  if (isCode(admin.idMethod, IdMethod::kByIpAddress)) {
    console.say(prompts.ipAddressPrompt);
    answerText(console, admin.ipAddress, position, kIpAddressText);
  }

  console.say(prompts.groupPrompt);
  console.say(wording::kAdminGroupMenu);
  admin.adminGroup = console.answerNumber(position);

  console.say(wording::kImmunityQuestion);
  admin.immunityAnswer = console.answerNumber(position);
  if (isCode(admin.immunityAnswer, ImmunityAnswer::kYes)) {
    console.say(wording::kImmunityGroupPrompt);
    admin.immunityGroup = console.answerNumber(position);
  }
}

void runDialogue(AdminRoster& roster, Console& console) {
  roster.clear();
  console.say(wording::kOpeningQuestion);
  roster.count = console.answerNumber(0);
  if (roster.selectsAdmins()) {
    for (int position = 1; position <= roster.count; ++position) {
      askAdmin(roster, position, roster.count, console);
    }
  }
  console.say(wording::kClosingHint);
  console.say(wording::kCreditFrame);
}

}  // namespace velmora
