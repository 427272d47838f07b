#pragma once

#include <filesystem>
#include <ostream>
#include <streambuf>

namespace velmora {

enum class SetUpMode {
  kReplace,  // clients.txt is replaced by this run's admins
  kAdd,      // this run's admins are added to the existing clients.txt
};

// The dialogue on input and output, then clients.txt in folder written or added to, then the
// warnings and any failure on errors, below the closing lines. Returns the exit status: 0, or
// 1 when the file could not be written. The final wait is left to the caller.
int setUpAdmins(std::streambuf& input, std::ostream& output, std::ostream& errors, SetUpMode mode,
                const std::filesystem::path& folder = ".");

}  // namespace velmora
