// Runs the whole dialogue and the file writer in memory on arbitrary input and checks what
// must hold for every input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>

#include "clientfile/client_file.hpp"
#include "dialogue/answer_reader.hpp"
#include "dialogue/console.hpp"
#include "dialogue/dialogue.hpp"
#include "roster/admin_roster.hpp"
#include "support/occurrences.hpp"
#include "support/plain_reader.hpp"
#include "support/trickle_buffer.hpp"
#include "support/utf8_oracle.hpp"

namespace {

using velmora::testing::occurrences;

void require(bool condition, const char* what) {
  if (!condition) {
    std::cerr << "invariant broken: " << what << '\n';
    std::abort();
  }
}

bool isBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The admin count as an operator's first answer gives it, worked out on its own here: a
// signed decimal number after white space, held to the 32-bit range, 0 when there is none.
std::int64_t expectedCount(std::string_view input) {
  std::size_t at = 0;
  while (at < input.size() && isBlank(input[at])) {
    ++at;
  }
  const bool negative = at < input.size() && input[at] == '-';
  if (at < input.size() && (input[at] == '-' || input[at] == '+')) {
    ++at;
  }
  std::int64_t magnitude = 0;
  for (; at < input.size() && input[at] >= '0' && input[at] <= '9'; ++at) {
    magnitude = std::min<std::int64_t>(magnitude * 10 + (input[at] - '0'), 1LL << 31);
  }
  using Limits = std::numeric_limits<std::int32_t>;
  return negative ? std::max<std::int64_t>(-magnitude, Limits::min())
                  : std::min<std::int64_t>(magnitude, Limits::max());
}

bool onlyCrLfLineEnds(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
  }
  return true;
}

// Every reader can parse the file: each line's quotes pair up, so no value holds a quote of its
// own, no backslash can escape a closing quote, and the braces outside quotes balance.
bool parses(std::string_view text) {
  int depth = 0;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if ((c == '\n' && quoted) || (c == '\\' && quoted)) return false;
    if (!quoted) depth += c == '{' ? 1 : c == '}' ? -1 : 0;
    if (depth < 0) return false;
  }
  return depth == 0 && !quoted;
}

std::string groupCatalogue() {
  std::ostringstream catalogue;
  velmora::writeGroupCatalogue(catalogue);
  return catalogue.str();
}

void checkFile(const std::string& file, std::int64_t count) {
  static const std::string kCatalogueAndEnd = "\r\n\t}" + groupCatalogue() + "\r\n}";
  require(
      file.starts_with("\"clients.txt\"\r\n{\r\n\t\"version\"\t\"1\"\r\n\r\n\t// This key group "
                       "lists all your client players\r\n\t\"players\"\r\n\t{"),
      "file starts with the header");
  require(file.ends_with(kCatalogueAndEnd), "file ends with the catalogue and the final brace");
  require(occurrences(file, "\r\n\t\t// This must be a unique client name\r\n") ==
              static_cast<std::size_t>(count),
          "one client entry per admin");
  require(onlyCrLfLineEnds(file), "CR LF line ends only");
  require(parses(file), "the file parses");
}

// The block-wise reader must give the answers a byte-by-byte reader gives, whatever the order
// of number and word reads (chosen by the first byte) and the size of the source's reads
// (chosen by the second); and a field keeps of each word its longest part that ends between
// characters, so it never ends inside a character that the word continues.
void compareWithPlainReader(const std::string& input) {
  const unsigned order = input.empty() ? 0U : static_cast<unsigned char>(input[0]);
  const std::size_t bytesPerRead = input.size() < 2 ? 1 : 1 + static_cast<unsigned char>(input[1]);
  velmora::testing::TrickleBuffer source(input, bytesPerRead);
  velmora::AnswerReader reader(source);
  velmora::testing::PlainReader plain(input);
  // A failed number read consumes nothing after the white space, so the count is bounded.
  for (std::size_t read = 0; !plain.atEnd() && read <= input.size() + 8; ++read) {
    if (((order >> (read % 8)) & 1U) != 0) {
      require(reader.readNumber() == plain.readNumber(), "numbers read as a plain reader does");
    } else {
      velmora::TextField field;
      field.assign(reader.readWord(velmora::TextField::kBytesToJudgeCut));
      const std::string word = plain.readWord(input.size());
      require(field.view() ==
                  std::string_view(word).substr(0, velmora::testing::expectedKept(word, 31)),
              "a word is read as a plain reader does and cut between characters");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::stringbuf source(input);
  std::ostringstream console;
  velmora::Console operatorConsole(source, console);
  velmora::AdminRoster roster;
  velmora::runDialogue(roster, operatorConsole);

  compareWithPlainReader(input);
  const std::int64_t count = expectedCount(input);
  require(roster.count == count, "the count is the first number typed");
  const bool asksAdmins = count >= 1 && count <= velmora::kMaxAdmins;
  require(roster.selectsAdmins() == asksAdmins, "a file is written exactly for 1 to 10 admins");
  require(occurrences(console.str(), "\nWould you like to give this admin Immunity?") ==
              static_cast<std::size_t>(asksAdmins ? count : 0),
          "each admin is asked once");
  if (asksAdmins) {
    checkFile(velmora::clientsText(roster), count);
  }
  return 0;
}
