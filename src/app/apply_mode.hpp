#pragma once

#include <ostream>
#include <span>
#include <streambuf>
#include <string>
#include <string_view>

#include "app/answer_form.hpp"
#include "app/change_lock.hpp"
#include "app/exit_status.hpp"

namespace velmora {

// What --apply is asked to do: the roster ("-" for input), the files, and how.
struct ApplyRequest {
  std::string_view roster;
  std::span<const std::string> files;
  bool prune = false;
  ChangeOptions how;
  AnswerForm form = AnswerForm::kLines;
};

// Makes each file hold the roster's admins: an admin matched by key (letter case aside) is
// changed in place as --set changes one, a missing one is added at the end of "players" as
// --add adds one, and with prune the entries the roster does not name are taken out as
// --remove takes them out. A file that does not exist is written as velmora writes a new one;
// a file that already holds the roster is not rewritten. The whole roster is checked before
// any file is touched. Says per file what changed on output, as lines or one JSON object; with
// how.dryRun, each change goes to diff as a unified diff and nothing is written. kDone when every
// file holds the roster; kNotDone when a file could not be read, parsed, changed or written,
// or another program was changing it for longer than how.wait (the others are still done, and
// the reason goes to errors); kUsageError for an invalid roster, and then no file is touched.
// Each file is changed under its own lock (see lockForChange), read afresh once it is taken,
// and only one file's lock is held at a time, so that runs over the same files in another
// order cannot wait for each other for ever.
ExitStatus applyRoster(const ApplyRequest& request, std::streambuf& input, std::ostream& output,
                       std::ostream& diff, std::ostream& errors);

}  // namespace velmora
