#include "clientfile/key_values.hpp"

#include <algorithm>
#include <optional>
#include <vector>

#include "clientfile/text_encoding.hpp"
#include "text/character_classes.hpp"
#include "text/letter_case.hpp"
#include "text/shown.hpp"

namespace velmora::keyvalues {
namespace {

// Far deeper than any clients.txt; bounds the reader's stack on hostile input.
constexpr int kMaxDepth = 64;
// The depth of the keys a TakeNested takes: the top level is 0.
constexpr int kTakenDepth = 2;

constexpr std::size_t kNodesPerAllocation = 4096;

bool endsUnquoted(char c) { return isWhiteSpace(c) || c == '"' || c == '{' || c == '}'; }

// An unquoted token holding '[' and then ']', such as [$WIN32]: the server keeps the key it
// belongs to only on the platforms it names.
bool isCondition(std::string_view text) {
  const std::size_t open = text.find('[');
  return open != std::string_view::npos && text.find(']', open) != std::string_view::npos;
}

struct Token {
  enum class Kind { kEnd, kText, kOpen, kClose };
  Kind kind = Kind::kEnd;
  std::string_view text;  // a text's contents, between its quotes
  std::size_t offset = 0;
  std::size_t end = 0;  // just after the token
  std::size_t line = 0;
  std::size_t column = 0;
  bool quoted = false;

  [[nodiscard]] bool isConditionToken() const {
    return kind == Kind::kText && !quoted && isCondition(text);
  }
};

class Parser {
 public:
  // A byte-order mark is no part of the text; columns count from after it.
  Parser(std::string_view text, const TakeNested& take) : text_(text), take_(take) {
    if (text.starts_with(kUtf8ByteOrderMark)) {
      offset_ = lineStart_ = kUtf8ByteOrderMark.size();
    }
  }

  Document run() {
    Document document;
    document.text = text_;
    Token unused;
    document.nodes = readBlockBody(0, unused, nullptr);
    document.error = std::move(error_);
    document.storage = std::move(storage_);
    return document;
  }

 private:
  [[nodiscard]] Token at(Token::Kind kind) const {
    return {kind, {}, offset_, offset_, line_, offset_ - lineStart_ + 1};
  }

  void fail(const Token& where, std::string message) {
    if (!error_) {
      error_ = SyntaxError{where.line, where.column, std::move(message)};
    }
  }

  // Read with a local offset: a member would be written back after every byte.
  void skipWhiteSpaceAndComments() {
    const std::string_view text = text_;
    std::size_t offset = offset_;
    while (offset < text.size()) {
      const char c = text[offset];
      if (c == '\n') {
        ++line_;
        lineStart_ = offset + 1;
      } else if (c == '/' && text.substr(offset).starts_with("//")) {
        offset = std::min(text.find('\n', offset), text.size());
        continue;
      } else if (!isWhiteSpace(c)) {
        break;
      }
      ++offset;
    }
    offset_ = offset;
  }

  // The next token, or kEnd with the error set when the text holds none that can be read.
  Token next() {
    if (lookahead_) {
      const Token token = *lookahead_;
      lookahead_.reset();
      return token;
    }
    skipWhiteSpaceAndComments();
    Token token = at(Token::Kind::kEnd);
    if (offset_ == text_.size()) {
      return token;
    }
    const char c = text_[offset_];
    if (c == '{' || c == '}') {
      token.kind = c == '{' ? Token::Kind::kOpen : Token::Kind::kClose;
      token.end = ++offset_;
      return token;
    }
    if (c == '/' && text_.substr(offset_).starts_with("/*")) {
      fail(token, "block comments are not part of the key-value format: use // comments");
      return token;
    }
    if (isControl(c)) {
      fail(token, "unexpected character " + shown(std::string_view(&c, 1)));
      return token;
    }
    if (c != '"') {
      return unquoted(token);
    }
    return quoted(token);
  }

  // A quoted text runs to its closing quote, across line ends, as the server reads it; a
  // backslash is an ordinary character there.
  Token quoted(Token token) {
    const std::size_t close = text_.find('"', offset_ + 1);
    if (close == std::string_view::npos) {
      fail(token, "this quote is never closed");
      return token;
    }
    token.kind = Token::Kind::kText;
    token.quoted = true;
    token.text = text_.substr(offset_ + 1, close - offset_ - 1);
    for (std::size_t lineEnd = token.text.find('\n'); lineEnd != std::string_view::npos;
         lineEnd = token.text.find('\n', lineEnd + 1)) {
      ++line_;
      lineStart_ = offset_ + 1 + lineEnd + 1;
    }
    offset_ = token.end = close + 1;
    return token;
  }

  // The next token if it is a condition, which it then consumes; otherwise the token is kept
  // for the next read, so that the white space and comments before it are read once.
  std::optional<Token> nextCondition() {
    const Token token = next();
    if (token.isConditionToken()) {
      return token;
    }
    lookahead_ = token;
    return std::nullopt;
  }

  // A key or value without quotes, as the servers' readers take it: everything up to white
  // space, a quote or a brace. A control character cannot be part of it.
  Token unquoted(Token token) {
    std::size_t end = offset_;
    while (end < text_.size() && !endsUnquoted(text_[end])) {
      if (isControl(text_[end])) {
        offset_ = end;
        fail(at(Token::Kind::kEnd), "unexpected character " + shown(text_.substr(end, 1)));
        return at(Token::Kind::kEnd);
      }
      ++end;
    }
    token.kind = Token::Kind::kText;
    token.text = text_.substr(offset_, end - offset_);
    offset_ = token.end = end;
    return token;
  }

  // Reads keys until the block's closing brace (depth above 0) or the end of the text (depth
  // 0); close is set to the token that ended it. Returns the keys read and kept, also after an
  // error; parent is the block being read, null at the top level.
  std::span<const Node> readBlockBody(int depth, Token& close, const Node* parent) {
    const std::size_t first = pending_.size();
    for (Token token = next(); !error_; token = next()) {
      if (token.kind == Token::Kind::kEnd || token.kind == Token::Kind::kClose) {
        if (token.kind == Token::Kind::kClose && depth == 0) {
          fail(token, "unbalanced brace: '}' closes no block");
        }
        close = token;
        break;
      }
      if (token.kind == Token::Kind::kOpen) {
        fail(token, "a block in braces must follow a key");
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
    Token after = next();
    if (after.isConditionToken()) {
      setCondition(node, after);
      const Token condition = after;
      after = next();
      if (after.kind == Token::Kind::kText) {
        fail(condition, "a condition must follow the value");
        return;
      }
    }
    if (after.kind == Token::Kind::kText) {
      node.value = after.text;
      node.valueQuoted = after.quoted;
      node.valueLine = after.line;
      if (const std::optional<Token> condition = nextCondition()) {
        setCondition(node, *condition);
      }
      return;
    }
    if (after.kind != Token::Kind::kOpen) {
      fail(key, "key \"" + shown(node.key) + "\" without a value");
      return;
    }
    if (depth + 1 > kMaxDepth) {
      fail(after, "blocks nested too deeply");
      return;
    }
    node.isBlock = true;
    node.openOffset = after.offset;
    Token close;
    node.children = readBlockBody(depth + 1, close, &node);
    if (close.kind == Token::Kind::kEnd) {
      fail(after, "unbalanced brace: this '{' is never closed");
    }
    node.closeOffset = close.offset;
  }

  std::string_view text_;
  const TakeNested& take_;
  std::size_t offset_ = 0;
  std::size_t line_ = 1;
  std::size_t lineStart_ = 0;
  std::optional<SyntaxError> error_;
  std::optional<Token> lookahead_;  // read past a value to look for a condition
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
