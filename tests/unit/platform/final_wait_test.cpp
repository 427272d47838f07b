// Drives the built program in a pseudo-terminal, as an operator at a console would.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::string_view kWaitPrompt = "Press any key to continue . . . ";

class ProgramInTerminal {
 public:
  // The program started with arguments in a folder of its own, which holds clients.txt when
  // clientsText is given.
  explicit ProgramInTerminal(std::vector<std::string> arguments = {},
                             const std::optional<std::string>& clientsText = std::nullopt) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
      ADD_FAILURE() << "no pseudo-terminal";
      return;
    }
    const std::string terminal = ptsname(master_);
    directory_ =
        std::filesystem::temp_directory_path() / ("velmora-terminal-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory_);
    if (clientsText) {
      std::ofstream(directory_ / "clients.txt", std::ios::binary) << *clientsText;
    }
    arguments.insert(arguments.begin(), "velmora");
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
      argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    child_ = fork();
    if (child_ == 0) {
      setsid();
      const int slave = open(terminal.c_str(), O_RDWR);  // becomes the controlling terminal
      dup2(slave, STDIN_FILENO);
      dup2(slave, STDOUT_FILENO);
      dup2(slave, STDERR_FILENO);
      if (chdir(directory_.c_str()) == 0) {
        execv(VELMORA_EXECUTABLE, argv.data());
      }
      _exit(127);
    }
  }
  ~ProgramInTerminal() {
    if (child_ > 0 && !exited_) {
      kill(child_, SIGKILL);
      waitpid(child_, nullptr, 0);
    }
    close(master_);
    std::filesystem::remove_all(directory_);
  }
  ProgramInTerminal(const ProgramInTerminal&) = delete;
  ProgramInTerminal& operator=(const ProgramInTerminal&) = delete;

  void type(std::string_view keys) const {
    ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }

  // Reads the screen until text appears or five seconds pass.
  bool awaitOutput(std::string_view text) {
    const auto deadline = Clock::now() + 5s;
    while (screen_.find(text) == std::string::npos && Clock::now() < deadline) {
      pollfd ready{master_, POLLIN, 0};
      if (poll(&ready, 1, 50) > 0) {
        char chunk[4096];
        const ssize_t got = read(master_, chunk, sizeof chunk);
        if (got <= 0) {
          break;
        }
        screen_.append(chunk, static_cast<std::size_t>(got));
      }
    }
    return screen_.find(text) != std::string::npos;
  }

  // The program's wait status once it has ended, or nothing if it is still running after
  // the given time.
  std::optional<int> awaitExit(std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    do {
      int status = 0;
      if (waitpid(child_, &status, WNOHANG) == child_) {
        exited_ = true;
        return status;
      }
      std::this_thread::sleep_for(10ms);
    } while (Clock::now() < deadline);
    return std::nullopt;
  }

  [[nodiscard]] termios settings() const {
    termios current{};
    tcgetattr(master_, &current);
    return current;
  }
  [[nodiscard]] pid_t pid() const { return child_; }
  [[nodiscard]] const std::filesystem::path& directory() const { return directory_; }

 private:
  int master_ = -1;
  pid_t child_ = -1;
  bool exited_ = false;
  std::string screen_;
  std::filesystem::path directory_;
};

bool keyAtATime(const termios& settings) { return (settings.c_lflag & (ICANON | ECHO)) == 0; }

bool sameLineSettings(const termios& a, const termios& b) {
  return a.c_lflag == b.c_lflag && a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag &&
         a.c_cc[VMIN] == b.c_cc[VMIN] && a.c_cc[VTIME] == b.c_cc[VTIME];
}

struct WaitEnding {
  std::string name;
  std::function<void(ProgramInTerminal&)> end;
  std::function<bool(int)> expectedStatus;
};

void PrintTo(const WaitEnding& ending, std::ostream* out) { *out << ending.name; }

class TerminalWait : public ::testing::TestWithParam<WaitEnding> {};

TEST_P(TerminalWait, RestoresTheTerminalHoweverItEnds) {
  ProgramInTerminal program;
  ASSERT_TRUE(program.awaitOutput("Note: Works for 10 admins"));
  const termios before = program.settings();
  // The second line end is typed ahead of the prompt and must not count as the key press.
  program.type("0\n\n");
  ASSERT_TRUE(program.awaitOutput(kWaitPrompt));
  EXPECT_TRUE(keyAtATime(program.settings()));
  EXPECT_FALSE(program.awaitExit(300ms)) << "the wait ended without a key press";

  GetParam().end(program);
  const std::optional<int> status = program.awaitExit(5s);
  ASSERT_TRUE(status) << "the wait did not end";
  EXPECT_TRUE(GetParam().expectedStatus(*status)) << "wait status " << *status;
  EXPECT_TRUE(sameLineSettings(program.settings(), before));
}

bool killedBy(int status, int signalNumber) {
  return WIFSIGNALED(status) && WTERMSIG(status) == signalNumber;
}

INSTANTIATE_TEST_SUITE_P(
    Endings, TerminalWait,
    ::testing::Values(WaitEnding{"OneKey", [](auto& p) { p.type("k"); },
                                 [](int s) { return WIFEXITED(s) && WEXITSTATUS(s) == 0; }},
                      WaitEnding{"CtrlC", [](auto& p) { p.type("\x03"); },
                                 [](int s) { return killedBy(s, SIGINT); }},
                      WaitEnding{"Sigterm", [](auto& p) { kill(p.pid(), SIGTERM); },
                                 [](int s) { return killedBy(s, SIGTERM); }},
                      WaitEnding{"Sighup", [](auto& p) { kill(p.pid(), SIGHUP); },
                                 [](int s) { return killedBy(s, SIGHUP); }}),
    [](const auto& info) { return info.param.name; });

// The menu at a terminal: each answer a line, typed as the operator types it.
TEST(TerminalMenu, AddsAnAdminTypedAtTheTerminal) {
  ProgramInTerminal program({"clients.txt"});
  ASSERT_TRUE(program.awaitOutput("6=end"));
  const std::vector<std::pair<std::string, std::string>> answers = {
      {"2\r", "name: "},
      {"Ann Lee\r", "(an empty line for none): "},
      {"10.0.0.1\r", "5=No Rcon Or Sound"},
      {"1\r", "5=NoFun"},
      {"\r", "1=add, 2=cancel"},
      {"1\r", "added admin 1 (Ann Lee) to clients.txt"},
      {"6\r", ""}};
  for (const auto& [keys, shown] : answers) {
    program.type(keys);
    ASSERT_TRUE(program.awaitOutput(shown)) << "after " << keys;
  }
  const std::optional<int> status = program.awaitExit(5s);
  ASSERT_TRUE(status) << "the menu did not end";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "wait status " << *status;
  std::ostringstream written;
  written << std::ifstream(program.directory() / "clients.txt", std::ios::binary).rdbuf();
  EXPECT_NE(written.str().find("\"name\"\t\"Ann Lee\"\r\n"), std::string::npos);
}

// A file the menu cannot open keeps the window until Enter is pressed.
TEST(TerminalMenu, WaitsForEnterWhenTheFileCannotBeRead) {
  ProgramInTerminal program({"clients.txt"}, "\"clients.txt\" { \"players\" { \"Ann");
  ASSERT_TRUE(program.awaitOutput("Press Enter to close this window."));
  EXPECT_FALSE(program.awaitExit(300ms)) << "the window closed before Enter";
  program.type("\r");
  const std::optional<int> status = program.awaitExit(5s);
  ASSERT_TRUE(status) << "Enter did not end the run";
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 1) << "wait status " << *status;
}

}  // namespace
