// Trainee scripts: statements in the syntax of the spreadsheet's macro
// language, executed by late binding on an Application object.
//
//   Script s = parse(source, "setup.bas");     // syntax errors name their line
//   run(s, application, host);                 // runtime errors name their line
//
// Functions and statements that act on the world around the script rather
// than on the Application (ChDir and CurDir act on the current folder of
// whoever runs the script) are not built in: the caller provides them.
//
// A Session keeps its variables and its On Error mode from one script to the
// next, for an interactive shell that runs one line at a time.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/error.hpp"
#include "platform/com/variant.hpp"

namespace platform::script {

struct Program;

// A parsed script: immutable, cheap to copy.
class Script {
 public:
  const std::string& name() const;

 private:
  friend Script parse(std::string_view source, std::string name);
  friend class Session;
  explicit Script(std::shared_ptr<const Program> program) : program_(std::move(program)) {}

  std::shared_ptr<const Program> program_;
};

// Why a script stopped. what() reads
//   "setup.bas: line 3: Range("Z0").Value = 1: error 1004: <description>"
// (without the leading name when the script has none).
class ScriptError : public std::exception {
 public:
  enum class Kind {
    Syntax,    // the text is not a script; nothing of it ran
    Runtime,   // a statement raised a runtime error: runtime_error() holds it
    Refused,   // something scripts cannot do: an unknown name, MsgBox, a
               // host line with no host; On Error Resume Next does not skip it
    Budget,    // the run took more time or memory than its Budget allows
               // (budget.hpp); nothing skips it, every macro under it ends
  };

  ScriptError(Kind kind, std::string script_name, int line, std::string text, std::string problem,
              std::optional<com::Error> runtime_error = std::nullopt, bool incomplete = false);

  Kind kind() const { return kind_; }
  const std::string& script_name() const { return script_name_; }
  int line() const { return line_; }                 // 1-based, in the script's source
  const std::string& text() const { return text_; }  // the statement's line, continuations joined
  const std::string& problem() const { return problem_; }
  const std::optional<com::Error>& runtime_error() const { return runtime_error_; }
  // A syntax error only because the text stops early (an open With block or
  // a trailing continuation): a shell reads another line and tries again.
  bool incomplete() const { return incomplete_; }

  const char* what() const noexcept override { return message_.c_str(); }

 private:
  Kind kind_;
  std::string script_name_;
  int line_;
  std::string text_;
  std::string problem_;
  std::optional<com::Error> runtime_error_;
  bool incomplete_;
  std::string message_;
};

// Receives each line that begins with '#': its text without the '#',
// trimmed, and its line number. A runtime error it raises stops the script
// like any statement's (or is skipped under On Error Resume Next).
using HostCallback = std::function<void(std::string_view line, int line_number)>;

// A runtime function or statement the caller provides, called with its
// evaluated arguments (objects as they are; omitted ones trailing the list
// dropped). It is found where the runtime functions are: after the
// variables, before the Application's members, and before a runtime
// function of the same name. Too few arguments raise 449, too many 450, a
// named one 448; a runtime error it raises fails its statement like any.
// A statement's result is ignored.
struct HostFunction {
  using Call = std::function<com::Variant(std::span<const com::Variant> args)>;
  static constexpr std::size_t kVariadic = static_cast<std::size_t>(-1);

  std::string name;  // matched in any case, with or without a trailing '$'
  std::size_t min_args = 0;
  std::size_t max_args = 0;  // kVariadic: any number
  Call call;
};
using HostFunctions = std::vector<HostFunction>;

// The longest source a script may have: ample for any exercise, and what it
// parses into stays within a few tens of megabytes.
inline constexpr std::size_t kMaxSourceSize = std::size_t{1} << 20;

// Raises ScriptError (Kind::Syntax) for text that is not a script, or that is
// longer than kMaxSourceSize.
Script parse(std::string_view source, std::string name = {});

class Session {
 public:
  explicit Session(com::Variant application, HostCallback host = {}, HostFunctions functions = {});
  ~Session();
  Session(Session&&) noexcept;
  Session& operator=(Session&&) noexcept;

  void run(const Script& script);
  // Parses and runs one piece of text as a script without a name.
  void run_line(std::string_view text);
  // The value of one expression (objects are returned as they are).
  com::Variant evaluate(std::string_view expression);
  // A variable's value; nullopt when the session has none of that name.
  std::optional<com::Variant> variable(std::string_view name) const;
  // Stores a value as `name = value` would (Set for an object), declaring the
  // variable when the session has none: a caller binds parameters this way,
  // whatever characters the text holds. A declared type converts the value.
  void set_variable(std::string_view name, com::Variant value);

  struct State;  // variables, On Error mode, application, host and its functions

 private:
  std::unique_ptr<State> state_;
};

// Runs a script in a fresh session.
void run(const Script& script, com::Variant application, HostCallback host = {}, HostFunctions functions = {});

}  // namespace platform::script
