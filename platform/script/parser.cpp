#include "platform/script/parser.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/com/text.hpp"
#include "platform/script/lexer.hpp"
#include "platform/script/script.hpp"
#include "platform/script/source_encoding.hpp"

namespace platform::script {

namespace {

// Deep enough for any script a person writes, shallow enough for the stack.
constexpr int kMaxExpressionHeight = 200;
constexpr int kMaxRecursion = 100;
constexpr int kMaxBlockDepth = 50;

// Words that cannot name a variable or start a statement's chain. Member names
// after '.' and argument names before ':=' may still be any of them
// (`.End(xlUp)`, `Function:=xlSum`).
constexpr std::array kReserved = {
    "and",   "or",   "not",  "xor",    "mod",    "is",     "eqv",     "imp",    "like",  "set",   "let",
    "call",  "dim",  "with", "end",    "on",     "new",    "as",      "true",   "false", "nothing",
    "empty", "null", "if",   "then",   "else",   "elseif", "for",     "next",   "do",    "loop",
    "while", "wend", "sub",  "function", "exit", "select", "case",    "goto",   "resume", "private",
    "public", "const", "redim", "each", "to",    "step",   "until",   "option", "me",    "typeof",
};

// Statements of the macro language that scripts do without.
constexpr std::array kUnsupportedStatements = {
    "goto", "resume", "redim", "const", "option",
};

// The words that close a block, and the statement each belongs to.
struct ClosingWords {
  std::array<const char*, 2> words;  // the second may be empty
  const char* stray;                 // the error when no open block takes it
};
constexpr std::array kClosingWords = {
    ClosingWords{{"end", "with"}, "End With without With"},
    ClosingWords{{"end", "if"}, "End If without block If"},
    ClosingWords{{"elseif", ""}, "ElseIf without If"},
    ClosingWords{{"else", ""}, "Else without If"},
    ClosingWords{{"next", ""}, "Next without For"},
    ClosingWords{{"loop", ""}, "Loop without Do"},
    ClosingWords{{"wend", ""}, "Wend without While"},
    ClosingWords{{"case", ""}, "Case without Select Case"},
    ClosingWords{{"end", "select"}, "End Select without Select Case"},
    ClosingWords{{"end", "sub"}, "End Sub without Sub"},
    ClosingWords{{"end", "function"}, "End Function without Function"},
};

template <std::size_t N>
bool contains(const std::array<const char*, N>& words, const std::string& lower) {
  return std::find_if(words.begin(), words.end(), [&](const char* w) { return lower == w; }) != words.end();
}

std::string lower(std::string_view s) { return com::lcase(s); }

bool is_reserved(const std::string& word) { return contains(kReserved, lower(word)); }

int height_of(const ExprPtr& e) { return e ? e->height : 0; }

int child_height(const Expr::Node& node);

class Parser {
 public:
  Parser(const std::string& name, const std::vector<SourceLine>& lines, std::vector<Token> tokens)
      : name_(name), lines_(lines), tokens_(std::move(tokens)) {}

  Block parse_script() { return parse_block(nullptr); }
  std::vector<Procedure> take_procedures() { return std::move(procedures_); }

  ExprPtr parse_lone_expression() {
    ExprPtr e = parse_expression();
    if (peek().kind != TokenKind::EndOfLine || peek(1).kind != TokenKind::EndOfInput) fail(unexpected());
    return e;
  }

 private:
  // --- tokens ------------------------------------------------------------

  const Token& peek(std::size_t ahead = 0) const { return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)]; }
  const Token& take() {
    const Token& t = peek();
    if (pos_ < tokens_.size() - 1) ++pos_;
    return t;
  }
  bool at_word(std::string_view word, std::size_t ahead = 0) const {
    const Token& t = peek(ahead);
    return t.kind == TokenKind::Word && lower(t.text) == word;
  }
  bool at_symbol(std::string_view symbol, std::size_t ahead = 0) const {
    const Token& t = peek(ahead);
    return t.kind == TokenKind::Symbol && t.text == symbol;
  }
  bool accept_word(std::string_view word) { return at_word(word) ? (take(), true) : false; }
  bool accept_symbol(std::string_view symbol) { return at_symbol(symbol) ? (take(), true) : false; }
  void expect_symbol(std::string_view symbol) {
    if (!accept_symbol(symbol)) fail("expected '" + std::string(symbol) + "' but found " + describe(peek()));
  }
  void expect_word(std::string_view word, std::string_view shown) {
    if (!accept_word(word)) fail("expected '" + std::string(shown) + "' but found " + describe(peek()));
  }
  // In a single-line If, Else also ends the statement before it.
  bool at_statement_end() const {
    const TokenKind k = peek().kind;
    return k == TokenKind::EndOfLine || k == TokenKind::EndOfInput || at_symbol(":") ||
           (single_line_if_ > 0 && at_word("else"));
  }
  void end_statement() {
    if (!at_statement_end()) fail("expected the end of the statement but found " + describe(peek()));
    if (peek().kind != TokenKind::EndOfInput) take();
  }

  static std::string describe(const Token& t) {
    switch (t.kind) {
      case TokenKind::EndOfLine:
      case TokenKind::EndOfInput: return "the end of the line";
      case TokenKind::String: return "\"" + t.text + "\"";
      case TokenKind::Date: return "#" + t.text + "#";
      default: return "'" + t.text + "'";
    }
  }
  std::string unexpected() const { return "unexpected " + describe(peek()); }

  [[noreturn]] void fail(std::string problem, bool incomplete = false) const { fail_at(peek().line, std::move(problem), incomplete); }
  [[noreturn]] void fail_at(std::size_t line, std::string problem, bool incomplete = false) const {
    const SourceLine empty{1, {}};
    syntax_error(name_, lines_.empty() ? empty : lines_[line], std::move(problem), incomplete);
  }

  // Bounds the parser's own recursion (parentheses, unary operators).
  class Nesting {
   public:
    explicit Nesting(Parser& p) : p_(p) {
      if (++p_.recursion_ > kMaxRecursion) p_.fail("expression nested too deeply");
    }
    ~Nesting() { --p_.recursion_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

   private:
    Parser& p_;
  };

  template <class Node>
  ExprPtr make(Node node) {
    auto e = std::make_unique<Expr>(Expr{std::move(node), 1});
    e->height = 1 + child_height(e->node);
    if (e->height > kMaxExpressionHeight) fail("expression too long or nested too deeply");
    return e;
  }

  // --- statements --------------------------------------------------------

  // What may close the block being read, and the error when the text ends
  // first (the opening statement's line and what is missing).
  struct Closer {
    std::size_t line;
    const char* missing;
    std::vector<const ClosingWords*> accepted;
  };

  bool at_closing(const ClosingWords& c) const {
    return at_word(c.words[0]) && (*c.words[1] == '\0' || at_word(c.words[1], 1));
  }
  bool at_line_end() const {
    const TokenKind k = peek().kind;
    return k == TokenKind::EndOfLine || k == TokenKind::EndOfInput;
  }

  // Statements until the end of the script, or until one of the closing
  // words of `closer`, left for the caller to take.
  Block parse_block(const Closer* closer) {
    Block block;
    for (;;) {
      while (peek().kind == TokenKind::EndOfLine || at_symbol(":")) take();
      if (peek().kind == TokenKind::EndOfInput) {
        if (closer) fail_at(closer->line, closer->missing, true);
        return block;
      }
      for (const ClosingWords& c : kClosingWords) {
        if (!at_closing(c)) continue;
        if (closer && std::find(closer->accepted.begin(), closer->accepted.end(), &c) != closer->accepted.end()) {
          return block;
        }
        fail(c.stray);
      }
      if (!closer && at_procedure_start()) {
        procedures_.push_back(parse_procedure());
        end_statement();
        continue;
      }
      block.push_back(parse_statement());
      end_statement();
    }
  }

  // Bounds the nesting of With, If and For blocks.
  class BlockNesting {
   public:
    BlockNesting(Parser& p, std::size_t line) : p_(p) {
      if (++p_.block_depth_ > kMaxBlockDepth) p_.fail_at(line, "blocks nested too deeply");
    }
    ~BlockNesting() { --p_.block_depth_; }
    BlockNesting(const BlockNesting&) = delete;
    BlockNesting& operator=(const BlockNesting&) = delete;

   private:
    Parser& p_;
  };

  static const ClosingWords* closing(std::string_view first, std::string_view second = "") {
    for (const ClosingWords& c : kClosingWords) {
      if (first == c.words[0] && second == c.words[1]) return &c;
    }
    return nullptr;
  }

  Statement parse_statement() {
    const std::size_t line = peek().line;
    if (peek().kind == TokenKind::Host) return {HostLine{take().text}, line};
    if (peek().kind == TokenKind::Word) {
      const std::string word = lower(peek().text);
      if (word == "set" || word == "let") {
        take();
        return {parse_assignment(word == "set"), line};
      }
      if (word == "call") {
        take();
        return {parse_call_keyword(), line};
      }
      if (word == "with") return {parse_with(), line};
      if (word == "dim") return {parse_dim(), line};
      if (word == "on") return {parse_on_error(), line};
      if (word == "if") return {parse_if(), line};
      if (word == "for") return {parse_for(), line};
      if (word == "exit") return {parse_exit(), line};
      if (word == "do") return {parse_do(), line};
      if (word == "while") return {parse_while(), line};
      if (word == "select") return {parse_select(), line};
      if (word == "sub" || word == "function") fail("a procedure is defined outside any other procedure or block");
      if (contains(kUnsupportedStatements, word)) fail("'" + peek().text + "' is not supported in scripts");
      if (word == "end") fail("'End' is not supported in scripts");
    }
    return {parse_chain_statement(), line};
  }

  Assignment parse_assignment(bool set) {
    ExprPtr target = parse_chain();
    expect_symbol("=");
    return Assignment{set, std::move(target), parse_expression()};
  }

  CallStatement parse_call_keyword() {
    ExprPtr chain = parse_chain();
    return split_call(std::move(chain));
  }

  // `obj.Method(a, b)` as a statement is the call of Method with a and b.
  static CallStatement split_call(ExprPtr chain) {
    if (auto* call = std::get_if<Call>(&chain->node)) return CallStatement{std::move(call->callee), std::move(call->arguments)};
    return CallStatement{std::move(chain), {}};
  }

  Statement::Action parse_chain_statement() {
    ExprPtr chain = parse_chain();
    if (accept_symbol("=")) return Assignment{false, std::move(chain), parse_expression()};
    if (at_statement_end()) return split_call(std::move(chain));
    // `obj.Method (a) + 1, b`: the parenthesis opened the first argument,
    // not an argument list; read the arguments again from there.
    if (last_call_open_ && std::holds_alternative<Call>(chain->node)) {
      pos_ = *last_call_open_;
      chain = std::move(std::get<Call>(chain->node).callee);
    }
    return CallStatement{std::move(chain), parse_arguments(false)};
  }

  WithBlock parse_with() {
    const std::size_t line = take().line;
    ExprPtr object = parse_expression();
    end_statement();
    const BlockNesting nesting(*this, line);
    ++with_depth_;
    const Closer closer{line, "With without End With", {closing("end", "with")}};
    Block body = parse_block(&closer);
    --with_depth_;
    take();
    take();
    return WithBlock{std::move(object), std::move(body)};
  }

  // --- procedures --------------------------------------------------------

  bool at_procedure_start() const {
    const std::size_t word = at_word("public") || at_word("private") ? 1 : 0;
    return at_word("sub", word) || at_word("function", word);
  }

  Procedure parse_procedure() {
    const std::size_t line = peek().line;
    if (at_word("public") || at_word("private")) take();
    Procedure p;
    p.function = lower(take().text) == "function";
    p.line = line;
    p.name = variable_name();
    for (const Procedure& other : procedures_)
      if (lower(other.name) == lower(p.name)) fail_at(line, "ambiguous name detected: " + p.name);
    if (accept_symbol("(") && !accept_symbol(")")) {
      do p.parameters.push_back(parse_parameter(p.parameters));
      while (accept_symbol(","));
      expect_symbol(")");
    }
    if (p.function && accept_word("as")) p.result = parse_type();
    end_statement();
    procedure_ = p.function ? ProcedureKind::Function : ProcedureKind::Sub;
    const Closer closer{line, p.function ? "Function without End Function" : "Sub without End Sub",
                        {closing("end", p.function ? "function" : "sub")}};
    p.body = parse_block(&closer);
    procedure_ = ProcedureKind::None;
    take();
    take();
    return p;
  }

  Parameter parse_parameter(const std::vector<Parameter>& before) {
    Parameter q;
    q.optional = accept_word("optional");
    if (!q.optional && !before.empty() && before.back().optional) fail("a required parameter after an optional one");
    q.by_value = accept_word("byval");
    if (!q.by_value) accept_word("byref");
    q.name = variable_name();
    for (const Parameter& other : before)
      if (lower(other.name) == lower(q.name)) fail("duplicate parameter name '" + q.name + "'");
    if (at_symbol("(")) fail("array parameters are not supported");
    if (accept_word("as")) q.type = parse_type();
    if (accept_symbol("=")) {
      if (!q.optional) fail("only an Optional parameter has a default value");
      q.default_value = parse_expression();
    }
    return q;
  }

  // --- loops and choices -------------------------------------------------

  // Do [While|Until c] ... Loop [While|Until c]: the condition on one end.
  DoLoop parse_do() {
    const std::size_t line = take().line;
    DoLoop loop;
    if (at_word("while") || at_word("until")) read_loop_condition(loop);
    end_statement();
    const BlockNesting nesting(*this, line);
    ++do_depth_;
    const Closer closer{line, "Do without Loop", {closing("loop")}};
    loop.body = parse_block(&closer);
    --do_depth_;
    take();
    if (at_word("while") || at_word("until")) {
      if (loop.condition) fail("a loop has its condition after Do or after Loop, not both");
      loop.test_first = false;
      read_loop_condition(loop);
    }
    return loop;
  }

  void read_loop_condition(DoLoop& loop) {
    loop.until = lower(take().text) == "until";
    loop.condition = parse_expression();
  }

  // While c ... Wend: Exit Do does not leave it.
  DoLoop parse_while() {
    const std::size_t line = take().line;
    DoLoop loop;
    loop.condition = parse_expression();
    loop.takes_exit_do = false;
    end_statement();
    const BlockNesting nesting(*this, line);
    const Closer closer{line, "While without Wend", {closing("wend")}};
    loop.body = parse_block(&closer);
    take();
    return loop;
  }

  SelectCase parse_select() {
    const std::size_t line = take().line;
    expect_word("case", "Case");
    SelectCase select;
    select.subject = parse_expression();
    end_statement();
    const BlockNesting nesting(*this, line);
    while (peek().kind == TokenKind::EndOfLine || at_symbol(":")) take();
    const char* missing = "Select Case without End Select";
    if (peek().kind == TokenKind::EndOfInput) fail_at(line, missing, true);
    const Closer closer{line, missing, {closing("case"), closing("end", "select")}};
    while (!accept_word("end")) {
      expect_word("case", "Case");
      if (!select.clauses.empty() && select.clauses.back().tests.empty()) fail("Case after Case Else");
      SelectCase::Clause clause;
      if (!accept_word("else")) {
        do clause.tests.push_back(parse_case_test());
        while (accept_symbol(","));
      }
      end_statement();
      clause.body = parse_block(&closer);
      select.clauses.push_back(std::move(clause));
    }
    take();  // Select
    return select;
  }

  // `Is > 3`, `1 To 5` or a value.
  SelectCase::Test parse_case_test() {
    using Kind = SelectCase::Test::Kind;
    SelectCase::Test test;
    if (accept_word("is")) {
      static const std::pair<const char*, BinaryOp> kComparisons[] = {
          {"=", BinaryOp::Equal}, {"<>", BinaryOp::NotEqual}, {"<=", BinaryOp::LessEqual},
          {">=", BinaryOp::GreaterEqual}, {"<", BinaryOp::Less}, {">", BinaryOp::Greater},
      };
      const auto* op = std::find_if(std::begin(kComparisons), std::end(kComparisons),
                                    [&](const auto& c) { return at_symbol(c.first); });
      if (op == std::end(kComparisons)) fail("expected a comparison after Is but found " + describe(peek()));
      take();
      test.kind = Kind::Compare;
      test.op = op->second;
      test.value = parse_expression();
      return test;
    }
    test.value = parse_expression();
    if (accept_word("to")) {
      test.kind = Kind::Range;
      test.high = parse_expression();
    }
    return test;
  }

  // The block form when nothing follows Then on its line, else the
  // single-line form.
  IfBlock parse_if() {
    const std::size_t line = take().line;
    ExprPtr condition = parse_expression();
    expect_word("then", "Then");
    if (!at_line_end()) return parse_single_line_if(std::move(condition));
    const BlockNesting nesting(*this, line);
    IfBlock block;
    const Closer branch_closer{line, "Block If without End If",
                               {closing("elseif"), closing("else"), closing("end", "if")}};
    for (;;) {
      end_statement();
      block.branches.push_back({std::move(condition), parse_block(&branch_closer)});
      if (!accept_word("elseif")) break;
      condition = parse_expression();
      expect_word("then", "Then");
    }
    if (accept_word("else")) {
      end_statement();
      const Closer else_closer{line, "Block If without End If", {closing("end", "if")}};
      block.branches.push_back({nullptr, parse_block(&else_closer)});
    }
    take();
    take();
    return block;
  }

  IfBlock parse_single_line_if(ExprPtr condition) {
    ++single_line_if_;
    IfBlock block;
    block.branches.push_back({std::move(condition), parse_inline_statements()});
    if (accept_word("else")) block.branches.push_back({nullptr, parse_inline_statements()});
    --single_line_if_;
    return block;
  }

  // Statements separated by ':' up to the end of the line or an Else.
  Block parse_inline_statements() {
    Block block;
    while (!at_line_end() && !at_word("else")) {
      block.push_back(parse_statement());
      if (accept_symbol(":")) continue;
      if (!at_line_end() && !at_word("else")) fail("expected the end of the statement but found " + describe(peek()));
    }
    return block;
  }

  Statement::Action parse_for() {
    const std::size_t line = take().line;
    if (accept_word("each")) {
      std::string variable = variable_name();
      expect_word("in", "In");
      ExprPtr collection = parse_expression();
      Block body = parse_loop_body(line, variable);
      return ForEachLoop{std::move(variable), std::move(collection), std::move(body)};
    }
    ForLoop loop;
    loop.variable = variable_name();
    expect_symbol("=");
    loop.start = parse_expression();
    expect_word("to", "To");
    loop.end = parse_expression();
    if (accept_word("step")) loop.step = parse_expression();
    loop.body = parse_loop_body(line, loop.variable);
    return loop;
  }

  std::string variable_name() {
    if (peek().kind != TokenKind::Word || is_reserved(peek().text)) fail("expected a variable name but found " + describe(peek()));
    return take().text;
  }

  // The body up to Next, and Next's optional variable, which must be the loop's.
  Block parse_loop_body(std::size_t line, const std::string& variable) {
    end_statement();
    const BlockNesting nesting(*this, line);
    ++loop_depth_;
    const Closer closer{line, "For without Next", {closing("next")}};
    Block body = parse_block(&closer);
    --loop_depth_;
    take();
    if (peek().kind == TokenKind::Word && !at_statement_end() && lower(take().text) != lower(variable)) {
      fail("invalid Next control variable reference");
    }
    return body;
  }

  Statement::Action parse_exit() {
    take();
    if (accept_word("for")) {
      if (loop_depth_ == 0) fail("Exit For not within For ... Next");
      return ExitFor{};
    }
    if (accept_word("do")) {
      if (do_depth_ == 0) fail("Exit Do not within Do ... Loop");
      return ExitDo{};
    }
    if (accept_word("sub")) {
      if (procedure_ != ProcedureKind::Sub) fail("Exit Sub not within Sub");
      return ExitProcedure{};
    }
    if (accept_word("function")) {
      if (procedure_ != ProcedureKind::Function) fail("Exit Function not within Function");
      return ExitProcedure{};
    }
    fail("expected For, Do, Sub or Function after Exit but found " + describe(peek()));
  }

  Dim parse_dim() {
    take();
    Dim dim;
    do {
      Declaration d{variable_name(), VarType::Variant};
      if (at_symbol("(")) fail("array variables are not supported; assign Array(...) to a variable");
      if (accept_word("as")) d.type = parse_type();
      dim.names.push_back(std::move(d));
    } while (accept_symbol(","));
    return dim;
  }

  VarType parse_type() {
    if (at_word("new")) fail("'As New' is not supported; use Set with a method that creates the object");
    if (peek().kind != TokenKind::Word) fail("expected a type name but found " + describe(peek()));
    const std::string type = lower(take().text);
    static const std::pair<const char*, VarType> kTypes[] = {
        {"variant", VarType::Variant}, {"string", VarType::String}, {"integer", VarType::Integer},
        {"long", VarType::Long},       {"double", VarType::Double}, {"single", VarType::Double},
        {"boolean", VarType::Boolean}, {"date", VarType::Date},
    };
    for (const auto& [name, t] : kTypes)
      if (type == name) return t;
    if (type == "byte" || type == "currency" || type == "decimal" || type == "longlong")
      fail("the type '" + type + "' is not supported");
    return VarType::Object;  // Object, Range, Workbook, ...: any class
  }

  OnError parse_on_error() {
    take();
    expect_word("error", "Error");
    if (accept_word("resume")) {
      expect_word("next", "Next");
      return OnError{true};
    }
    if (accept_word("goto") && peek().kind == TokenKind::Number && peek().text == "0") {
      take();
      return OnError{false};
    }
    fail("only 'On Error Resume Next' and 'On Error GoTo 0' are supported");
  }

  // --- arguments ---------------------------------------------------------

  // The arguments of a call: inside parentheses (after the '(') up to the
  // ')', or without parentheses up to the end of the statement.
  std::vector<Argument> parse_arguments(bool parenthesised) {
    std::vector<Argument> args;
    if (parenthesised && accept_symbol(")")) return args;
    bool named_seen = false;
    for (;;) {
      Argument a = parse_argument(parenthesised);
      if (a.name.empty() && named_seen) fail("a positional argument after a named one");
      named_seen = named_seen || !a.name.empty();
      args.push_back(std::move(a));
      if (accept_symbol(",")) continue;
      if (parenthesised) expect_symbol(")");
      else if (!at_statement_end()) fail("expected ',' or the end of the statement but found " + describe(peek()));
      return args;
    }
  }

  Argument parse_argument(bool parenthesised) {
    const bool omitted = at_symbol(",") || (parenthesised ? at_symbol(")") : at_statement_end());
    if (omitted) return Argument{};
    if (peek().kind == TokenKind::Word && at_symbol(":=", 1)) {
      std::string name = take().text;
      take();
      return Argument{std::move(name), parse_expression()};
    }
    return Argument{{}, parse_expression()};
  }

  // --- expressions -------------------------------------------------------

  // A name or a leading '.', followed by member accesses and argument lists.
  ExprPtr parse_chain() {
    ExprPtr e;
    if (at_symbol(".")) {
      if (with_depth_ == 0) fail("'.' outside a With block");
      take();
      e = make(Member{make(WithObject{}), member_name()});
    } else if (peek().kind == TokenKind::Word && !is_reserved(peek().text)) {
      e = make(Name{take().text});
    } else {
      fail("expected a statement but found " + describe(peek()));
    }
    last_call_open_.reset();
    for (;;) {
      if (at_symbol("(")) {
        const std::size_t open = pos_;
        take();
        e = make(Call{std::move(e), parse_arguments(true)});
        last_call_open_ = open;
      } else if (at_symbol(".") && !peek().spaced) {
        take();
        e = make(Member{std::move(e), member_name()});
        last_call_open_.reset();
      } else {
        return e;
      }
    }
  }

  std::string member_name() {
    if (peek().kind != TokenKind::Word) fail("expected a member name after '.' but found " + describe(peek()));
    return take().text;
  }

  template <class Next>
  ExprPtr binary_level(Next next, std::initializer_list<std::pair<std::string_view, BinaryOp>> ops) {
    ExprPtr left = (this->*next)();
    for (;;) {
      const auto op = std::find_if(ops.begin(), ops.end(), [&](const auto& o) {
        return peek().kind == TokenKind::Symbol ? peek().text == o.first : at_word(o.first);
      });
      if (op == ops.end()) return left;
      take();
      left = make(Binary{op->second, std::move(left), (this->*next)()});
    }
  }

  ExprPtr parse_expression() {
    Nesting nesting(*this);
    return binary_level(&Parser::parse_or, {{"xor", BinaryOp::Xor}});
  }
  ExprPtr parse_or() { return binary_level(&Parser::parse_and, {{"or", BinaryOp::Or}}); }
  ExprPtr parse_and() { return binary_level(&Parser::parse_not, {{"and", BinaryOp::And}}); }
  ExprPtr parse_not() {
    if (!accept_word("not")) return parse_comparison();
    Nesting nesting(*this);
    return make(Unary{UnaryOp::Not, parse_not()});
  }
  ExprPtr parse_comparison() {
    return binary_level(&Parser::parse_concatenation,
                        {{"=", BinaryOp::Equal}, {"<>", BinaryOp::NotEqual}, {"<=", BinaryOp::LessEqual},
                         {">=", BinaryOp::GreaterEqual}, {"<", BinaryOp::Less}, {">", BinaryOp::Greater},
                         {"is", BinaryOp::Is}});
  }
  ExprPtr parse_concatenation() { return binary_level(&Parser::parse_additive, {{"&", BinaryOp::Concatenate}}); }
  ExprPtr parse_additive() {
    return binary_level(&Parser::parse_modulo, {{"+", BinaryOp::Add}, {"-", BinaryOp::Subtract}});
  }
  ExprPtr parse_modulo() { return binary_level(&Parser::parse_integer_division, {{"mod", BinaryOp::Modulo}}); }
  ExprPtr parse_integer_division() {
    return binary_level(&Parser::parse_multiplicative, {{"\\", BinaryOp::IntegerDivide}});
  }
  ExprPtr parse_multiplicative() {
    return binary_level(&Parser::parse_unary, {{"*", BinaryOp::Multiply}, {"/", BinaryOp::Divide}});
  }
  // Unary minus binds less tightly than '^': -2^2 is -4.
  ExprPtr parse_unary() {
    if (at_symbol("-") || at_symbol("+")) {
      const bool negate = take().text == "-";
      Nesting nesting(*this);
      ExprPtr operand = parse_unary();
      if (!negate) return operand;
      return make(Unary{UnaryOp::Negate, std::move(operand)});
    }
    return parse_power();
  }
  ExprPtr parse_power() {
    ExprPtr left = parse_primary();
    while (accept_symbol("^")) left = make(Binary{BinaryOp::Power, std::move(left), parse_exponent()});
    return left;
  }
  ExprPtr parse_exponent() {
    if (!accept_symbol("-")) return parse_primary();
    Nesting nesting(*this);
    return make(Unary{UnaryOp::Negate, parse_exponent()});
  }

  ExprPtr parse_primary() {
    const Token& t = peek();
    switch (t.kind) {
      case TokenKind::Number:
      case TokenKind::Date:
        return make(Literal{take().value});
      case TokenKind::String:
        return make(Literal{com::Variant(take().text)});
      case TokenKind::Word:
        if (auto literal = keyword_literal(lower(t.text))) {
          take();
          return make(Literal{std::move(*literal)});
        }
        if (is_reserved(t.text)) fail(unexpected());
        return parse_chain();
      case TokenKind::Symbol:
        if (t.text == ".") return parse_chain();
        if (t.text == "(") {
          take();
          ExprPtr inner = parse_expression();
          expect_symbol(")");
          return inner;
        }
        break;
      default:
        break;
    }
    fail("expected an expression but found " + describe(t));
  }

  static std::optional<com::Variant> keyword_literal(const std::string& word) {
    if (word == "true") return com::Variant(true);
    if (word == "false") return com::Variant(false);
    if (word == "nothing") return com::Variant::nothing();
    if (word == "empty") return com::Variant();
    if (word == "null") return com::Variant::null();
    return std::nullopt;
  }

  const std::string& name_;
  const std::vector<SourceLine>& lines_;
  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  std::optional<std::size_t> last_call_open_;
  int recursion_ = 0;
  int with_depth_ = 0;
  int block_depth_ = 0;
  int loop_depth_ = 0;
  int do_depth_ = 0;
  int single_line_if_ = 0;
  enum class ProcedureKind { None, Sub, Function } procedure_ = ProcedureKind::None;
  std::vector<Procedure> procedures_;
};

struct Heights {
  int operator()(const Member& m) const { return height_of(m.object); }
  int operator()(const Call& c) const {
    int h = height_of(c.callee);
    for (const Argument& a : c.arguments) h = std::max(h, height_of(a.value));
    return h;
  }
  int operator()(const Unary& u) const { return height_of(u.operand); }
  int operator()(const Binary& b) const { return std::max(height_of(b.left), height_of(b.right)); }
  int operator()(const auto&) const { return 0; }
};

int child_height(const Expr::Node& node) { return std::visit(Heights{}, node); }

void check_source_size(std::string_view source, const std::string& name) {
  if (source.size() <= kMaxSourceSize) return;
  syntax_error(name, SourceLine{1, {}}, "the script is longer than " + std::to_string(kMaxSourceSize >> 20) + " MiB");
}

}  // namespace

Program parse_program(std::string_view source, std::string name) {
  Program program;
  program.name = std::move(name);
  check_source_size(source, program.name);
  std::string converted;
  source = utf8_source(source, converted, program.name);
  std::vector<Token> tokens = tokenize(source, program.name, program.lines);
  Parser parser(program.name, program.lines, std::move(tokens));
  program.body = parser.parse_script();
  program.procedures = parser.take_procedures();
  return program;
}

ExprPtr parse_expression(std::string_view text, std::vector<SourceLine>& lines) {
  const std::string no_name;
  check_source_size(text, no_name);
  std::string converted;
  text = utf8_source(text, converted, no_name);
  if (text.find_first_of("\r\n") != std::string_view::npos)
    syntax_error(no_name, SourceLine{1, std::string(text)}, "an expression must fit on one line");
  std::vector<Token> tokens = tokenize(text, no_name, lines, false);
  if (lines.empty()) syntax_error(no_name, SourceLine{1, {}}, "expected an expression");
  return Parser(no_name, lines, std::move(tokens)).parse_lone_expression();
}

Script parse(std::string_view source, std::string name) {
  return Script(std::make_shared<const Program>(parse_program(source, std::move(name))));
}

const std::string& Script::name() const { return program_->name; }

}  // namespace platform::script
