#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "keyvalues/tokenizer.hpp"

namespace velmora::keyvalues {

// Where a key, value or condition stands in the text: from its opening quote, if it has
// one (so that it is quoted when the text has a quote at begin), to just after its last byte.
struct Span {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// One key of a nested key-value text with what follows it: a quoted value, or a block of
// further keys in braces. Texts are views of the parsed text, which must outlive the node,
// and children are views of the document's nodes; positions are kept so that findings can
// name their line and the text can be edited in place.
struct Node {
  std::string_view key;
  std::string_view value;          // when not a block
  std::string_view condition;      // such as [$WIN32], after the value or before the block
  std::span<const Node> children;  // when a block
  std::size_t line = 0;            // of the key, counted from 1
  std::size_t valueLine = 0;
  std::size_t conditionLine = 0;
  std::size_t openOffset = 0;   // when a block: where its opening brace is in the text
  std::size_t closeOffset = 0;  // when a block: where its closing brace is in the text
  bool isBlock = false;
  bool keyQuoted = false;
  bool valueQuoted = false;

  // Where the key, the value and the condition stand in text, the text that was parsed.
  [[nodiscard]] Span keySpan(std::string_view text) const;
  [[nodiscard]] Span valueSpan(std::string_view text) const;
  [[nodiscard]] Span conditionSpan(std::string_view text) const;
  // Just after the last byte that belongs to the key: its value's or block's, or a
  // condition's after the value.
  [[nodiscard]] std::size_t end(std::string_view text) const;

  // The first child with this key, letter case aside, as the server looks keys up; null when
  // there is none.
  [[nodiscard]] const Node* child(std::string_view wanted) const;
};

struct Document {
  std::string_view text;             // what was parsed, which the nodes are views of
  std::span<const Node> nodes;       // the keys at the top level
  std::optional<SyntaxError> error;  // the first syntax error; nodes are then incomplete
  // Every node, the siblings of each block side by side: a few large allocations rather than
  // one for each block, which a file of many thousands of blocks would feel.
  std::vector<std::vector<Node>> storage;
};

// Takes each key two levels down, such as each entry of a section of the root block, once it
// is read whole, with the block that holds it, which is still being read. A taken key is not
// kept in the document, so that a large text need not be held as one tree; the node and its
// children are views that last only for the call.
using TakeNested = std::function<void(const Node& node, const Node& parent)>;

// Reads the format as the server reads it: keys and values in quotes, or without them (up
// to white space, a quote or a brace); a quoted text runs to its closing quote, across line
// ends, and a backslash is an ordinary character; nested blocks in braces; a condition such
// as [$WIN32] after a value or between a key and its block; comments from "//" to the end of
// the line; and any white space with CR LF or LF line ends, after a UTF-8 byte-order mark if
// there is one. Keys two levels down are kept in the document unless take takes them.
Document parse(std::string_view text, const TakeNested& take = {});

}  // namespace velmora::keyvalues
