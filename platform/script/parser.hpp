// From tokens to the syntax tree. Syntax errors raise ScriptError naming the
// logical line; nesting is bounded so that hostile input cannot exhaust the
// stack of the parser or of the session that walks the tree.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/script/syntax_tree.hpp"

namespace platform::script {

Program parse_program(std::string_view source, std::string name);

// `text` as one expression, alone on its line; `lines` receives that line.
ExprPtr parse_expression(std::string_view text, std::vector<SourceLine>& lines);

}  // namespace platform::script
