// The parsed form of a script: statements and expressions as the parser
// builds them and the session walks them.
#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/com/variant.hpp"
#include "platform/script/operators.hpp"

namespace platform::script {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

// One argument of a call: `name:=value`, or positional when the name is
// empty; an omitted one (`f(1, , 3)`) has no value.
struct Argument {
  std::string name;
  ExprPtr value;
};

struct Literal {
  com::Variant value;
};
// An unqualified name: a variable, a function, an Application member or a constant.
struct Name {
  std::string name;
};
// The object of the innermost With block, before a leading '.'.
struct WithObject {};
struct Member {
  ExprPtr object;
  std::string name;
};
// `callee(arguments)`: a call, an indexed property or an array element.
struct Call {
  ExprPtr callee;
  std::vector<Argument> arguments;
};
struct Unary {
  UnaryOp op;
  ExprPtr operand;
};
struct Binary {
  BinaryOp op;
  ExprPtr left;
  ExprPtr right;
};

struct Expr {
  using Node = std::variant<Literal, Name, WithObject, Member, Call, Unary, Binary>;
  Node node;
  int height = 1;  // the longest path to a leaf, bounded by the parser
};

// The declared type of a variable; any class name is an Object.
enum class VarType { Variant, String, Integer, Long, Double, Boolean, Date, Object };

struct Statement;
using Block = std::vector<Statement>;

struct HostLine {
  std::string text;
};
struct Assignment {
  bool set = false;  // Set (an object reference) rather than Let (a value)
  ExprPtr target;
  ExprPtr value;
};
struct CallStatement {
  ExprPtr callee;
  std::vector<Argument> arguments;
};
struct WithBlock {
  ExprPtr object;
  Block body;
};
struct Declaration {
  std::string name;
  VarType type = VarType::Variant;
};
struct Dim {
  std::vector<Declaration> names;
};
struct OnError {
  bool resume_next = false;
};
// If ... Then ... [ElseIf ... Then ...] [Else ...] End If, or the same on
// one line: the first branch whose condition holds runs.
struct IfBlock {
  struct Branch {
    ExprPtr condition;  // null for Else
    Block body;
  };
  std::vector<Branch> branches;
};
// For variable = start To end [Step step] ... Next.
struct ForLoop {
  std::string variable;
  ExprPtr start;
  ExprPtr end;
  ExprPtr step;  // null: 1
  Block body;
};
// For Each variable In collection ... Next.
struct ForEachLoop {
  std::string variable;
  ExprPtr collection;
  Block body;
};
struct ExitFor {};
// Do [While|Until c] ... Loop [While|Until c], and While c ... Wend (a Do
// While that tests first). No condition: the loop runs until an Exit Do.
struct DoLoop {
  ExprPtr condition;   // null: none
  bool until = false;  // the loop ends when the condition holds
  bool test_first = true;
  bool takes_exit_do = true;  // false for While ... Wend
  Block body;
};
struct ExitDo {};
// Exit Sub or Exit Function: back to the caller.
struct ExitProcedure {};
// Select Case subject, then Case clauses; the first clause one of whose
// tests holds runs (Case Else has none and always holds).
struct SelectCase {
  struct Test {
    enum class Kind { Equal, Range, Compare } kind = Kind::Equal;
    BinaryOp op = BinaryOp::Equal;  // for Compare: `Is > 3`
    ExprPtr value;                  // the value, or the range's low end
    ExprPtr high;                   // for Range: `1 To 5`
  };
  struct Clause {
    std::vector<Test> tests;  // empty: Case Else
    Block body;
  };
  ExprPtr subject;
  std::vector<Clause> clauses;
};

struct Statement {
  using Action = std::variant<HostLine, Assignment, CallStatement, WithBlock, Dim, OnError, IfBlock, ForLoop,
                              ForEachLoop, ExitFor, DoLoop, ExitDo, ExitProcedure, SelectCase>;
  Action action;
  std::size_t line = 0;  // index into Program::lines
};

// A logical line: continuations joined, numbered after its first physical line.
struct SourceLine {
  int number = 0;
  std::string text;
};

// A parameter of a Sub or Function: by reference unless ByVal, as the
// language passes them.
struct Parameter {
  std::string name;
  VarType type = VarType::Variant;
  bool by_value = false;
  bool optional = false;
  ExprPtr default_value;  // Optional x = 3; null: the type's initial value
};

// Sub name(parameters) ... End Sub, or Function name(parameters) [As type]
// ... End Function, whose result is what the body assigns to its name.
struct Procedure {
  std::string name;
  bool function = false;
  std::vector<Parameter> parameters;
  VarType result = VarType::Variant;
  Block body;
  std::size_t line = 0;
};

struct Program {
  std::string name;
  std::vector<SourceLine> lines;
  std::vector<Procedure> procedures;  // in the order the source defines them
  Block body;                         // the statements outside any procedure
};

}  // namespace platform::script
