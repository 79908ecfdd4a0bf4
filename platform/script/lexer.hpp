// Splitting a script's text into logical lines and tokens. Comments, blank
// lines and continuations disappear here; a line starting with '#' becomes
// one Host token holding the rest of the line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/com/variant.hpp"
#include "platform/script/syntax_tree.hpp"

namespace platform::script {

enum class TokenKind { Word, Number, String, Date, Symbol, Host, EndOfLine, EndOfInput };

struct Token {
  TokenKind kind = TokenKind::EndOfInput;
  std::string text;    // a word's spelling, a symbol, a string's value, a host line
  com::Variant value;  // a number's or a date's value
  std::size_t line = 0;  // index into the logical lines
  bool spaced = false;   // blanks precede it: `f .x` passes .x, `f.x` reads a member
};

// Fills `lines` with the logical lines of `source` and returns their tokens,
// each line closed by EndOfLine and the whole by EndOfInput. Without
// `host_lines` a leading '#' opens a date literal (an expression alone).
std::vector<Token> tokenize(std::string_view source, const std::string& script_name, std::vector<SourceLine>& lines,
                            bool host_lines = true);

// Raises the syntax error of `line`.
[[noreturn]] void syntax_error(const std::string& script_name, const SourceLine& line, std::string problem,
                               bool incomplete = false);

}  // namespace platform::script
