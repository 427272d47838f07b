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
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::string_view kWaitPrompt = "Press any key to continue . . . ";

class ProgramInTerminal {
 public:
  ProgramInTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
      ADD_FAILURE() << "no pseudo-terminal";
      return;
    }
    const std::string terminal = ptsname(master_);
    directory_ =
        std::filesystem::temp_directory_path() / ("velmora-terminal-" + std::to_string(getpid()));
    std::filesystem::create_directories(directory_);
    child_ = fork();
    if (child_ == 0) {
      setsid();
      const int slave = open(terminal.c_str(), O_RDWR);  // becomes the controlling terminal
      dup2(slave, STDIN_FILENO);
      dup2(slave, STDOUT_FILENO);
      dup2(slave, STDERR_FILENO);
      if (chdir(directory_.c_str()) == 0) {
        execl(VELMORA_EXECUTABLE, "velmora", static_cast<char*>(nullptr));
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

}  // namespace
