#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <optional>

#include "platform/final_wait.hpp"

namespace velmora {
namespace {

constexpr const char* kPrompt = "Press any key to continue . . . ";
constexpr int kTerminationSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Read by the signal handler, so it lives outside any object.
termios savedTerminal{};

extern "C" void restoreTerminalAndDie(int signalNumber) {
  tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

// Reads from the descriptor, not the buffered stream: what the stream still holds from the
// last answer must not count as the key press. Returns at end of input.
void awaitOneByte() {
  char key = 0;
  while (read(STDIN_FILENO, &key, 1) < 0 && errno == EINTR) {
  }
}

// Single keys without Enter and without echo, for as long as it lives. The saved settings
// come back on every way out, a termination signal included.
class KeyAtATime {
 public:
  KeyAtATime() {
    for (int i = 0; i < kSignalCount; ++i) {
      struct sigaction restoring {};
      restoring.sa_handler = restoreTerminalAndDie;
      sigemptyset(&restoring.sa_mask);
      sigaction(kTerminationSignals[i], nullptr, &previous_[i]);
      // A signal the caller chose to ignore stays ignored.
      if (previous_[i].sa_handler != SIG_IGN) {
        sigaction(kTerminationSignals[i], &restoring, nullptr);
      }
    }
    termios raw = savedTerminal;
    raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    // Flushing drops keys typed ahead of the prompt, such as a stray line end.
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &raw);
  }
  ~KeyAtATime() {
    tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    for (int i = 0; i < kSignalCount; ++i) {
      sigaction(kTerminationSignals[i], &previous_[i], nullptr);
    }
  }
  KeyAtATime(const KeyAtATime&) = delete;
  KeyAtATime& operator=(const KeyAtATime&) = delete;

 private:
  static constexpr int kSignalCount = sizeof(kTerminationSignals) / sizeof(int);
  struct sigaction previous_[kSignalCount] {};
};

}  // namespace

void waitForKeyPress(std::ostream& console) {
  console.flush();
  {
    std::optional<KeyAtATime> keys;
    if (isatty(STDIN_FILENO) != 0 && tcgetattr(STDIN_FILENO, &savedTerminal) == 0) {
      keys.emplace();
    }
    console << kPrompt << std::flush;
    awaitOneByte();
  }
  console << '\n' << std::flush;
}

}  // namespace velmora
