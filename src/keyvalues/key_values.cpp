#include "keyvalues/key_values.hpp"

#include <algorithm>
#include <vector>

#include "text/letter_case.hpp"
#include "text/shown.hpp"

namespace velmora::keyvalues {
namespace {

// Far deeper than any real file of this format; bounds the reader's stack on hostile input.
constexpr int kMaxDepth = 64;
// The depth of the keys a TakeNested takes: the top level is 0.
constexpr int kTakenDepth = 2;

constexpr std::size_t kNodesPerAllocation = 4096;

class Parser {
 public:
  Parser(std::string_view text, const TakeNested& take) : text_(text), tokens_(text), take_(take) {}

  Document run() {
    Document document;
    document.text = text_;
    Token unused;
    document.nodes = readBlockBody(0, unused, nullptr);
    document.error = tokens_.takeError();
    document.storage = std::move(storage_);
    return document;
  }

 private:
  // Reads keys until the block's closing brace (depth above 0) or the end of the text (depth
  // 0); close is set to the token that ended it. Returns the keys read and kept, also after an
  // error; parent is the block being read, null at the top level.
  std::span<const Node> readBlockBody(int depth, Token& close, const Node* parent) {
    const std::size_t first = pending_.size();
    for (Token token = tokens_.next(); !tokens_.failed(); token = tokens_.next()) {
      if (token.kind == Token::Kind::kEnd || token.kind == Token::Kind::kClose) {
        if (token.kind == Token::Kind::kClose && depth == 0) {
          tokens_.fail(token, "unbalanced brace: '}' closes no block");
        }
        close = token;
        break;
      }
      if (token.kind == Token::Kind::kOpen) {
        tokens_.fail(token, "a block in braces must follow a key");
        break;
      }
      // Built aside: reading its block adds to pending_, which may move what it holds.
      Node node;
      if (depth == kTakenDepth && take_) {
        const StorageMark mark = storageMark();
        readAfterKey(node, token, depth);
        take_(node, *parent);
        release(mark);
        continue;
      }
      readAfterKey(node, token, depth);
      pending_.push_back(node);
    }
    return store(first);
  }

  struct StorageMark {
    std::size_t allocations = 0;
    std::size_t stored = 0;  // in the last allocation
  };

  [[nodiscard]] StorageMark storageMark() const {
    return {storage_.size(), storage_.empty() ? 0 : storage_.back().size()};
  }

  // Gives what was stored since mark to the next keys: a file of many entries reuses one
  // allocation for all of them.
  void release(const StorageMark& mark) {
    while (storage_.size() > mark.allocations) {
      spare_.push_back(std::move(storage_.back()));
      spare_.back().clear();
      storage_.pop_back();
    }
    if (!storage_.empty()) {
      storage_.back().resize(mark.stored);
    }
  }

  // Moves the keys pending from first on to where they stay, side by side; an allocation is
  // never grown, so that what it holds stays where it is.
  std::span<const Node> store(std::size_t first) {
    const std::size_t count = pending_.size() - first;
    if (count == 0) {
      return {};
    }
    if (storage_.empty() || storage_.back().capacity() - storage_.back().size() < count) {
      if (!spare_.empty() && spare_.back().capacity() >= count) {
        storage_.push_back(std::move(spare_.back()));
        spare_.pop_back();
      } else {
        storage_.emplace_back().reserve(std::max(count, kNodesPerAllocation));
      }
    }
    std::vector<Node>& allocation = storage_.back();
    const std::size_t stored = allocation.size();
    allocation.insert(allocation.end(), pending_.begin() + static_cast<std::ptrdiff_t>(first),
                      pending_.end());
    pending_.resize(first);
    return {allocation.data() + stored, count};
  }

  static void setCondition(Node& node, const Token& condition) {
    node.condition = condition.text;
    node.conditionLine = condition.line;
  }

  // A key is followed by a value, which a condition may follow, or by a block, which a
  // condition may come before.
  void readAfterKey(Node& node, const Token& key, int depth) {
    node.key = key.text;
    node.keyQuoted = key.quoted;
    node.line = key.line;
    Token after = tokens_.next();
    if (after.isCondition()) {
      setCondition(node, after);
      const Token condition = after;
      after = tokens_.next();
      if (after.kind == Token::Kind::kText) {
        tokens_.fail(condition, "a condition must follow the value");
        return;
      }
    }
    if (after.kind == Token::Kind::kText) {
      node.value = after.text;
      node.valueQuoted = after.quoted;
      node.valueLine = after.line;
      if (const std::optional<Token> condition = tokens_.nextCondition()) {
        setCondition(node, *condition);
      }
      return;
    }
    if (after.kind != Token::Kind::kOpen) {
      tokens_.fail(key, "key \"" + shown(node.key) + "\" without a value");
      return;
    }
    if (depth + 1 > kMaxDepth) {
      tokens_.fail(after, "blocks nested too deeply");
      return;
    }
    node.isBlock = true;
    node.openOffset = after.offset;
    Token close;
    node.children = readBlockBody(depth + 1, close, &node);
    if (close.kind == Token::Kind::kEnd) {
      tokens_.fail(after, "unbalanced brace: this '{' is never closed");
    }
    node.closeOffset = close.offset;
  }

  std::string_view text_;
  Tokenizer tokens_;
  const TakeNested& take_;
  // The keys of every block being read, innermost last, until the block ends and they are
  // stored.
  std::vector<Node> pending_;
  std::vector<std::vector<Node>> storage_;
  std::vector<std::vector<Node>> spare_;
};

}  // namespace

const Node* Node::child(std::string_view wanted) const {
  const auto found = std::find_if(children.begin(), children.end(), [wanted](const Node& n) {
    return sameLetterCaseAside(n.key, wanted);
  });
  return found == children.end() ? nullptr : &*found;
}

namespace {

// Where a view of text stands in it, with its quotes when it has them.
Span spanOf(std::string_view text, std::string_view part, bool quoted) {
  const auto begin = static_cast<std::size_t>(part.data() - text.data());
  const std::size_t quotes = quoted ? 1 : 0;
  return {begin - quotes, begin + part.size() + quotes};
}

}  // namespace

Span Node::keySpan(std::string_view text) const { return spanOf(text, key, keyQuoted); }
Span Node::valueSpan(std::string_view text) const { return spanOf(text, value, valueQuoted); }
Span Node::conditionSpan(std::string_view text) const {
  return condition.empty() ? Span{} : spanOf(text, condition, false);
}

std::size_t Node::end(std::string_view text) const {
  const std::size_t last = isBlock ? closeOffset + 1 : valueSpan(text).end;
  return std::max(last, conditionSpan(text).end);
}

Document parse(std::string_view text, const TakeNested& take) { return Parser(text, take).run(); }

}  // namespace velmora::keyvalues
