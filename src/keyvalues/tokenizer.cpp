#include "keyvalues/tokenizer.hpp"

#include <algorithm>

#include "keyvalues/text_encoding.hpp"
#include "text/character_classes.hpp"
#include "text/shown.hpp"

namespace velmora::keyvalues {
namespace {

bool endsUnquoted(char c) { return isWhiteSpace(c) || c == '"' || c == '{' || c == '}'; }

}  // namespace

bool Token::isCondition() const {
  if (kind != Kind::kText || quoted) {
    return false;
  }
  const std::size_t open = text.find('[');
  return open != std::string_view::npos && text.find(']', open) != std::string_view::npos;
}

// A byte-order mark is no part of the text; columns count from after it.
Tokenizer::Tokenizer(std::string_view text) : text_(text) {
  if (text.starts_with(kUtf8ByteOrderMark)) {
    offset_ = lineStart_ = kUtf8ByteOrderMark.size();
  }
}

Token Tokenizer::at(Token::Kind kind) const {
  return {kind, {}, offset_, offset_, line_, offset_ - lineStart_ + 1};
}

void Tokenizer::fail(const Token& where, std::string message) {
  if (!error_) {
    error_ = SyntaxError{where.line, where.column, std::move(message)};
  }
}

// Read with a local offset: a member would be written back after every byte.
void Tokenizer::skipWhiteSpaceAndComments() {
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

Token Tokenizer::next() {
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
  return c == '"' ? quoted(token) : unquoted(token);
}

std::optional<Token> Tokenizer::nextCondition() {
  const Token token = next();
  if (token.isCondition()) {
    return token;
  }
  lookahead_ = token;
  return std::nullopt;
}

// A quoted text runs to its closing quote, across line ends, as the server reads it; a
// backslash is an ordinary character there.
Token Tokenizer::quoted(Token token) {
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

// A key or value without quotes, as the servers' readers take it: everything up to white
// space, a quote or a brace. A control character cannot be part of it.
Token Tokenizer::unquoted(Token token) {
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

}  // namespace velmora::keyvalues
