#include "keyvalues/reading_differences.hpp"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "text/filled.hpp"
#include "text/shown.hpp"
#include "text/utf8.hpp"

namespace velmora {
namespace {

constexpr std::string_view kNotUtf8 =
    R"("%s" is not UTF-8 text, so the server will show it garbled: save the file as UTF-8)";
constexpr std::string_view kBackslash =
    R"("%s" holds a backslash, which readers that take escapes read differently (\" as a )"
    R"(quote, \\, \n and \t as escapes): velmora writes / in its place)";
constexpr std::string_view kOverLines =
    "this quoted text runs over %s lines: a closing quote may be missing";
constexpr std::string_view kNul =
    R"("%s" holds a NUL (\x00): readers written in C end the text there)";
constexpr std::string_view kControl = R"("%s" holds the control character %s)";
constexpr std::string_view kCondition =
    R"(the condition %s makes the server keep "%s" only on the platforms it names)";

// A control character that is no line end: a CR counts as one only before a line feed.
bool isStrayControl(std::string_view text, std::size_t at) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte == '\r') {
    return at + 1 == text.size() || text[at + 1] != '\n';
  }
  return (byte < 0x20 && byte != '\t' && byte != '\n') || byte == 0x7f;
}

void addControlFinding(std::string_view text, std::size_t line, std::vector<FileFinding>& found) {
  if (text.find('\0') != std::string_view::npos) {
    found.emplace_back(line, filled(kNul, {shown(text)}));
    return;
  }
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (isStrayControl(text, at)) {
      found.emplace_back(line, filled(kControl, {shown(text), shown(text.substr(at, 1))}));
      return;
    }
  }
}

// Printable ASCII but the backslash, and tab: a text of these alone gives readers nothing to
// disagree on. Most text is such, and is told apart in one pass, a byte by a look in a table.
constexpr std::array<bool, 256> kPlainBytes = [] {
  std::array<bool, 256> plain{};
  for (int byte = 0x20; byte < 0x7f; ++byte) {
    plain[static_cast<std::size_t>(byte)] = byte != '\\';
  }
  plain['\t'] = true;
  return plain;
}();

bool isPlainByte(char c) { return kPlainBytes[static_cast<unsigned char>(c)]; }

// What a key or value's text lets readers disagree on; line is where it begins.
void addTextFindings(std::string_view text, std::size_t line, std::vector<FileFinding>& found) {
  if (std::all_of(text.begin(), text.end(), isPlainByte)) {
    return;
  }
  if (!utf8::isText(text)) {
    found.emplace_back(line, filled(kNotUtf8, {shown(text)}));
  }
  if (text.find('\\') != std::string_view::npos) {
    found.emplace_back(line, filled(kBackslash, {shown(text)}));
  }
  if (const auto lineEnds = std::count(text.begin(), text.end(), '\n'); lineEnds > 0) {
    found.emplace_back(line, filled(kOverLines, {std::to_string(lineEnds + 1)}));
  }
  addControlFinding(text, line, found);
}

void addOwnFindings(const keyvalues::Node& node, std::vector<FileFinding>& found) {
  addTextFindings(node.key, node.line, found);
  if (!node.isBlock) {
    addTextFindings(node.value, node.valueLine, found);
  }
  if (!node.condition.empty()) {
    found.emplace_back(node.conditionLine,
                       filled(kCondition, {shown(node.condition), shown(node.key)}));
  }
}

void addFindings(const keyvalues::Node& node, const FindingsByBlock& readApart,
                 std::vector<FileFinding>& found) {
  addOwnFindings(node, found);
  if (const auto apart = readApart.find(node.openOffset);
      node.isBlock && apart != readApart.end()) {
    found.insert(found.end(), apart->second.begin(), apart->second.end());
  }
  for (const keyvalues::Node& child : node.children) {
    addFindings(child, readApart, found);
  }
}

}  // namespace

void addReadingDifferences(const keyvalues::Node& node, std::vector<FileFinding>& found) {
  addFindings(node, {}, found);
}

std::vector<FileFinding> readingDifferences(std::span<const keyvalues::Node> nodes,
                                            const FindingsByBlock& readApart) {
  std::vector<FileFinding> found;
  for (const keyvalues::Node& node : nodes) {
    addFindings(node, readApart, found);
  }
  return found;
}

}  // namespace velmora
