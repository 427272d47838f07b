#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::keyvalues {

struct SyntaxError {
  std::size_t line = 0;    // counted from 1
  std::size_t column = 0;  // in bytes, counted from 1
  std::string message;

  // "message (column N)": what the operator reads after the file and line.
  [[nodiscard]] std::string withColumn() const {
    return message + " (column " + std::to_string(column) + ")";
  }
};

// One token of the format: a key or value (quoted or not), a brace, or the end of the text.
struct Token {
  enum class Kind { kEnd, kText, kOpen, kClose };
  Kind kind = Kind::kEnd;
  std::string_view text;  // a text's contents, between its quotes
  std::size_t offset = 0;
  std::size_t end = 0;  // just after the token
  std::size_t line = 0;
  std::size_t column = 0;
  bool quoted = false;

  // An unquoted token holding '[' and then ']', such as [$WIN32]: the server keeps the key it
  // belongs to only on the platforms it names.
  [[nodiscard]] bool isCondition() const;
};

// Splits a text into tokens as the server reads it: keys and values in quotes, or without them
// (up to white space, a quote or a brace); a quoted text runs to its closing quote, across line
// ends, and a backslash is an ordinary character; braces; comments from "//" to the end of the
// line; and any white space with CR LF or LF line ends, after a UTF-8 byte-order mark if there
// is one. The first syntax error ends the tokens.
class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text);

  // The next token; kEnd at the end of the text, and also, with the error set, where the text
  // holds none that can be read.
  Token next();
  // The next token if it is a condition, which it then consumes; otherwise the token is kept
  // for the next read, so that the white space and comments before it are read once.
  std::optional<Token> nextCondition();

  // Records the first syntax error, at where.
  void fail(const Token& where, std::string message);
  [[nodiscard]] bool failed() const { return error_.has_value(); }
  std::optional<SyntaxError> takeError() { return std::move(error_); }

 private:
  [[nodiscard]] Token at(Token::Kind kind) const;
  void skipWhiteSpaceAndComments();
  Token quoted(Token token);
  Token unquoted(Token token);

  std::string_view text_;
  std::size_t offset_ = 0;
  std::size_t line_ = 1;
  std::size_t lineStart_ = 0;
  std::optional<SyntaxError> error_;
  std::optional<Token> lookahead_;  // read past a value to look for a condition
};

}  // namespace velmora::keyvalues
