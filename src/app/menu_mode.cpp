#include "app/menu_mode.hpp"

#include <string>

#include "app/check_mode.hpp"
#include "app/diagnostics.hpp"
#include "app/menu_changes.hpp"
#include "clientfile/clients_file_list.hpp"
#include "text/filled.hpp"
#include "text/listed.hpp"
#include "text/path_text.hpp"
#include "text/shown.hpp"

namespace velmora {
namespace {

Result<LoadedClientsFile> loaded(const std::filesystem::path& file, std::string_view name) {
  return loadClientsFile(file, name, "open the menu on", MissingFile::kAllowed);
}

// Which file the menu is on, and how many admins it holds.
std::string header(const MenuSession& session) {
  const std::string name = shown(session.name);
  if (!session.loaded.exists) {
    return filled(menu::kMissing, {name});
  }
  const std::size_t admins = session.loaded.file.entries.size();
  return filled(menu::kHolds, {name, admins == 0 ? "no admins" : counted(admins, "admin")});
}

void list(const MenuSession& session, std::ostream& output) {
  for (const std::string& line : adminTable(session.loaded.file)) {
    output << line << '\n';
  }
}

}  // namespace

ExitStatus runMenu(const std::filesystem::path& file, std::streambuf& input, std::ostream& output,
                   std::ostream& errors, std::chrono::seconds wait) {
  MenuQuestions questions(input, output);
  const std::string name = textOfPath(file);
  Result<LoadedClientsFile> first = loaded(file, name);
  if (first.failed()) {
    // A window opened by dropping a file would close before the reason could be read.
    reportFailure(errors, first.failure(), ExitStatus::kNotDone);
    questions.waitForEnter();
    return ExitStatus::kNotDone;
  }
  MenuSession session{file, name, std::move(first.value()), questions, errors, wait};
  for (;;) {
    const std::optional<menu::Choice> choice = questions.choice(header(session));
    bool goesOn = choice.has_value();
    switch (choice.value_or(menu::Choice::kEnd)) {
      case menu::Choice::kList:
        list(session, output);
        break;
      case menu::Choice::kAdd:
        goesOn = addAdminFromMenu(session);
        break;
      case menu::Choice::kChange:
        goesOn = changeAdminFromMenu(session);
        break;
      case menu::Choice::kRemove:
        goesOn = removeAdminFromMenu(session);
        break;
      case menu::Choice::kCheck:
        output.flush();
        checkClientsFile(file, AnswerForm::kLines, output, errors);
        break;
      case menu::Choice::kEnd:
        goesOn = false;
        break;
    }
    output.flush();
    if (!goesOn) {
      return ExitStatus::kDone;
    }
    // What the menu shows next is the file as it is now, whoever changed it.
    if (Result<LoadedClientsFile> now = loaded(file, name); !now.failed()) {
      session.loaded = std::move(now.value());
    } else {
      reportFailure(errors, now.failure(), ExitStatus::kNotDone);
    }
  }
}

}  // namespace velmora
