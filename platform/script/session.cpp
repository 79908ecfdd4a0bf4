#include <algorithm>
#include <new>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "platform/com/convert.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/com/text.hpp"
#include "platform/script/budget.hpp"
#include "platform/script/builtins.hpp"
#include "platform/script/call_depth.hpp"
#include "platform/script/constants.hpp"
#include "platform/script/err_object.hpp"
#include "platform/script/parser.hpp"
#include "platform/script/script.hpp"
#include "platform/script/syntax_tree.hpp"

namespace platform::script {

namespace {

using com::CallKind;
using com::Dispatch;
using com::Variant;

constexpr CallKind kRead = CallKind::Method | CallKind::Get;

struct Variable {
  VarType type = VarType::Variant;
  Variant value;
  std::size_t bytes = 0;  // the value's footprint, charged to the session's budget
};

// Something scripts cannot do; it stops the script whatever On Error says.
class Refusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string key_of(std::string_view name) { return com::lcase(name); }

Variant initial_value(VarType type) {
  switch (type) {
    case VarType::String: return std::string();
    case VarType::Integer: return std::int16_t{0};
    case VarType::Long: return std::int32_t{0};
    case VarType::Double: return 0.0;
    case VarType::Boolean: return false;
    case VarType::Date: return com::Date{};
    case VarType::Object: return Variant::nothing();
    default: return {};
  }
}

// A value stored into a typed variable is converted as the runtime converts it.
Variant coerce(VarType type, const Variant& v) {
  switch (type) {
    case VarType::String: return com::cstr(v);
    case VarType::Integer: return com::cint(v);
    case VarType::Long: return com::clng(v);
    case VarType::Double: return com::cdbl(v);
    case VarType::Boolean: return com::cbool(v);
    case VarType::Date: return com::cdate(v);
    case VarType::Object: com::raise(com::err::ObjectNotSet);
    default: return v;
  }
}

// Evaluated arguments: positional ones (omitted as Variant::missing()), then
// named ones, in the layout Dispatch::invoke takes.
struct Arguments {
  std::vector<Variant> values;
  std::vector<std::string> names;

  std::size_t positional() const { return values.size() - names.size(); }
  std::vector<std::string_view> name_views() const { return {names.begin(), names.end()}; }
};

Variant invoke(Dispatch& object, com::DispId id, CallKind kind, Arguments& args) {
  const auto names = args.name_views();
  return object.invoke(id, kind, args.values, names);
}

// Exit For, travelling from the statement up to its loop; Exit Do to its
// Do; Exit Sub and Exit Function to the call.
struct LoopExit {};
struct DoExit {};
struct ProcedureExit {};

Variant& element(Variant& array, const Arguments& args) {
  if (!args.names.empty()) com::raise(com::err::NamedArgumentNotFound);
  com::SafeArray& a = array.array_value();
  if (static_cast<int>(args.values.size()) != a.dimensions()) com::raise(com::err::SubscriptOutOfRange);
  if (a.dimensions() == 1) return a.at(com::clng(args.values[0]));
  return a.at(com::clng(args.values[0]), com::clng(args.values[1]));
}

}  // namespace

struct Session::State {
  State(Variant application, HostCallback host, HostFunctions functions)
      : application(std::move(application)), host(std::move(host)), functions(std::move(functions)) {}
  ~State() {
    if (budget) budget->release(held);
  }
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  // A variable's value changes from `before` bytes to `after`: the new size
  // is charged before the old is released, so a refused charge changes nothing.
  void account(Variable& variable, std::size_t before, std::size_t after) {
    if (budget) {
      budget->charge(after);
      budget->release(before);
    }
    held = held - before + after;
    variable.bytes = variable.bytes - before + after;
  }

  // The only way a variable's whole value is replaced.
  void keep(Variable& variable, Variant value) {
    account(variable, variable.bytes, footprint(value));
    variable.value = std::move(value);
  }

  Variant application;
  HostCallback host;
  HostFunctions functions;
  std::shared_ptr<Budget> budget = Budget::current();  // the thread's when the session began
  std::unordered_map<std::string, Variable> variables;  // by lower-case name
  std::size_t held = 0;  // the bytes of all the variables' values
  bool resume_next = false;
  std::shared_ptr<ErrObject> err = std::make_shared<ErrObject>();
  // The Subs and Functions of every script run so far, by lower-case name;
  // a later script's procedure replaces an earlier one of the same name.
  struct ProcedureRef {
    std::shared_ptr<const Program> program;  // keeps the procedure and its lines alive
    const Procedure* procedure = nullptr;
  };
  std::unordered_map<std::string, ProcedureRef> procedures;
};

namespace {

// `variable = value` or `Set variable = value`, as the declared type takes it.
void store(Session::State& state, Variable& variable, Variant value, bool set) {
  if (set) {
    if (variable.type != VarType::Variant && variable.type != VarType::Object) com::raise(com::err::TypeMismatch);
    state.keep(variable, std::move(value));
  } else if (variable.type == VarType::Variant) {
    state.keep(variable, std::move(value));  // as it is: a long text is not copied
  } else {
    state.keep(variable, coerce(variable.type, value));
  }
}

// A value bound to a variable as For Each and a caller's parameter bind it:
// an object by reference where the variable can hold one, else its value.
void bind(Session::State& state, Variable& variable, Variant value) {
  const bool set = value.is_object() && (variable.type == VarType::Variant || variable.type == VarType::Object);
  store(state, variable, set ? std::move(value) : com::value_of(value), set);
}

// One call of a Sub or Function: its parameters and local variables and its
// own On Error mode. What the locals hold is given back to the budget when
// the call ends, however it ends.
struct Frame {
  Frame(Session::State& state, const Procedure& procedure) : state(state), procedure(procedure) {}
  ~Frame() {
    for (const auto& [name, variable] : locals) {
      if (state.budget) state.budget->release(variable.bytes);
      state.held -= variable.bytes;
    }
  }
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  Session::State& state;
  const Procedure& procedure;
  std::unordered_map<std::string, Variable> locals;  // by lower-case name
  bool resume_next = false;
};

// What an unqualified name stands for, in the order the language looks:
// a local variable, a procedure, a variable of the session, the Application
// itself, a runtime function (the host's first), a member of the
// Application, a constant.
struct Resolved {
  enum Kind { Variable, Procedure, Application, Err, Host, Builtin, Member, Constant, Unknown } kind = Unknown;
  script::Variable* variable = nullptr;
  const Session::State::ProcedureRef* procedure = nullptr;
  const HostFunction* host = nullptr;
  const script::Builtin* builtin = nullptr;
  com::DispId id = 0;
  Variant constant;
};

class Executor {
 public:
  Executor(Session::State& state, const std::string& name, const std::vector<SourceLine>& lines,
           Frame* frame = nullptr)
      : state_(state), name_(name), lines_(lines), frame_(frame) {}

  void run(const Block& block) {
    for (const Statement& s : block) execute(s);
  }

  // A script's entry Sub, called before its top level runs.
  void run_entry(const Session::State::ProcedureRef& entry) {
    try {
      call_procedure(entry, {});
    } catch (BudgetExceeded& b) {
      stop(entry.procedure->line, b);
    }
  }

  // One expression outside any statement, failing as if it were line `line`.
  Variant evaluate_alone(const Expr& e, std::size_t line) {
    try {
      tick();
      return evaluate(e);
    } catch (const com::Error& error) {
      throw failure(line, error);
    } catch (const Refusal& r) {
      throw refusal(line, r);
    } catch (BudgetExceeded& b) {
      stop(line, b);
    } catch (const std::bad_alloc&) {
      out_of_memory(line);
    }
  }

 private:
  // --- statements --------------------------------------------------------

  void execute(const Statement& s) {
    try {
      tick();
      std::visit([&](const auto& action) { perform(action, s); }, s.action);
    } catch (const com::Error& error) {
      state_.err->record(error);
      if (!resume_next()) throw failure(s.line, error);
    } catch (const ScriptError& e) {
      // A procedure that failed without its own trap: the caller's trap
      // takes the error, else it stops the script where it arose.
      if (e.kind() != ScriptError::Kind::Runtime || !e.runtime_error() || !resume_next()) throw;
      state_.err->record(*e.runtime_error());
    } catch (const Refusal& r) {
      throw refusal(s.line, r);
    } catch (BudgetExceeded& b) {
      stop(s.line, b);
    } catch (const std::bad_alloc&) {
      out_of_memory(s.line);
    }
  }

  // Before each statement and each turn of a loop: the time left, and the
  // stack left for the statement (a macro's statements run deeper).
  void tick() {
    check_stack();
    if (state_.budget) state_.budget->check_time();
  }

  // A spent budget travels out through every macro as it is, each run
  // noting its line, and becomes a ScriptError at the outermost run, where
  // the trainee's own statement is.
  [[noreturn]] void stop(std::size_t line, BudgetExceeded& b) const {
    const SourceLine& l = lines_.at(line);
    const std::string here = (name_.empty() ? "" : name_ + ", ") + "line " + std::to_string(l.number);
    b.locate(here);
    if (CallDepth::current() > 1) throw b;
    std::string problem = b.what();
    if (b.where() != here) problem += " (in " + b.where() + ")";
    throw ScriptError(ScriptError::Kind::Budget, name_, l.number, l.text, std::move(problem));
  }

  // The machine refused memory before any budget did: the run stops alike.
  [[noreturn]] void out_of_memory(std::size_t line) const {
    BudgetExceeded b("stopped: the statements ran out of memory");
    stop(line, b);
  }

  ScriptError failure(std::size_t line, const com::Error& error) const {
    const SourceLine& l = lines_.at(line);
    return ScriptError(ScriptError::Kind::Runtime, name_, l.number, l.text,
                       "error " + std::to_string(error.number()) + ": " + error.description(), error);
  }
  ScriptError refusal(std::size_t line, const Refusal& r) const {
    const SourceLine& l = lines_.at(line);
    return ScriptError(ScriptError::Kind::Refused, name_, l.number, l.text, r.what());
  }

  // The host's own work (the player's calls into the module) is not the
  // trainee's: it runs without the budget and its time is not counted.
  void perform(const HostLine& h, const Statement& s) {
    if (!state_.host) throw Refusal("no host to run '#" + h.text + "'");
    const Budget::Pause host_work(state_.budget.get());
    state_.host(h.text, lines_.at(s.line).number);
  }

  void perform(const Assignment& a, const Statement&) {
    Variant value = evaluate(*a.value);
    if (a.set) {
      if (!value.is_object()) com::raise(com::err::ObjectRequired);
    } else if (value.is_object()) {
      value = com::value_of(value);
    }
    assign(*a.target, std::move(value), a.set);
  }

  void perform(const CallStatement& c, const Statement&) {
    if (const auto* name = std::get_if<Name>(&c.callee->node)) {
      if (const Resolved r = resolve(name->name, true); r.kind == Resolved::Procedure) {
        call_procedure(*r.procedure, c.arguments);
        return;
      }
    }
    Arguments args = evaluate_arguments(c.arguments);
    if (const auto* name = std::get_if<Name>(&c.callee->node)) {
      call_name(name->name, args);
    } else if (const auto* member = std::get_if<Member>(&c.callee->node)) {
      const Variant holder = evaluate(*member->object);
      Dispatch& object = com::object_of(holder);
      invoke(object, object.id_of(member->name), kRead, args);
    } else {
      invoke(com::object_of(evaluate(*c.callee)), com::DISPID_VALUE, kRead, args);
    }
  }

  void perform(const WithBlock& w, const Statement&) {
    Variant object;
    try {
      object = evaluate(*w.object);
      com::object_of(object);
    } catch (const com::Error&) {
      // Resuming goes on into the block, whose leading dots then meet Nothing.
      if (!resume_next()) throw;
      object = Variant::nothing();
    }
    withs_.push_back(std::move(object));
    struct Pop {
      std::vector<Variant>& withs;
      ~Pop() { withs.pop_back(); }
    } pop{withs_};
    run(w.body);
  }

  void perform(const Dim& d, const Statement&) {
    for (const Declaration& decl : d.names) {
      Variable& variable = scope()[key_of(decl.name)];
      variable.type = decl.type;
      state_.keep(variable, initial_value(decl.type));
    }
  }

  void perform(const OnError& o, const Statement&) {
    resume_next() = o.resume_next;
    state_.err->clear();
  }

  void perform(const IfBlock& b, const Statement&) {
    for (const IfBlock::Branch& branch : b.branches) {
      if (!branch.condition || holds(*branch.condition)) return run(branch.body);
    }
  }

  // A condition that fails under On Error Resume Next lets its branch run:
  // the macro language resumes at the statement after the If line, which is
  // the branch's first.
  bool holds(const Expr& condition) {
    try {
      return com::cbool(com::value_of(evaluate(condition)));
    } catch (const com::Error& error) {
      state_.err->record(error);
      if (!resume_next()) throw;
      return true;
    }
  }

  // The counter is read back at each turn, so the body may change it; the
  // bounds and the step are taken once, as the macro language takes them.
  void perform(const ForLoop& f, const Statement&) {
    Variant start = com::value_of(evaluate(*f.start));
    const Variant end = com::value_of(evaluate(*f.end));
    const Variant step = f.step ? com::value_of(evaluate(*f.step)) : Variant(std::int16_t{1});
    const BinaryOp within = com::cdbl(step) < 0 ? BinaryOp::GreaterEqual : BinaryOp::LessEqual;
    Variable* counter = &loop_variable(f.variable);
    store(state_, *counter, std::move(start), false);
    try {
      while (com::cbool(apply(within, counter->value, end))) {
        tick();
        run(f.body);
        counter = &loop_variable(f.variable);
        store(state_, *counter, apply(BinaryOp::Add, counter->value, step), false);
      }
    } catch (const LoopExit&) {
    }
  }

  // An array's elements (a copy, as the language iterates), or a
  // collection's items by Count and Item, read one at a time.
  void perform(const ForEachLoop& f, const Statement&) {
    const Variant collection = evaluate(*f.collection);
    try {
      if (collection.is_array()) {
        for (const Variant& item : collection.array_value().elements()) visit(f, item);
        return;
      }
      Dispatch& object = com::object_of(collection);
      Arguments none;
      const std::int32_t count = com::clng(invoke(object, object.id_of("Count"), kRead, none));
      const com::DispId item = object.members().id_of("Item").value_or(com::DISPID_VALUE);
      for (std::int32_t i = 1; i <= count; ++i) {
        Arguments index;
        index.values.push_back(i);
        visit(f, invoke(object, item, kRead, index));
      }
    } catch (const LoopExit&) {
    }
  }

  void visit(const ForEachLoop& f, Variant item) {
    tick();
    bind(state_, loop_variable(f.variable), std::move(item));
    run(f.body);
  }

  void perform(const ExitFor&, const Statement&) { throw LoopExit{}; }
  void perform(const ExitDo&, const Statement&) { throw DoExit{}; }
  void perform(const ExitProcedure&, const Statement&) { throw ProcedureExit{}; }

  // Each turn, like For's, first checks the time left.
  void perform(const DoLoop& d, const Statement&) {
    try {
      for (;;) {
        tick();
        if (d.test_first && !continues(d)) return;
        run(d.body);
        if (!d.test_first && !continues(d)) return;
      }
    } catch (const DoExit&) {
      if (!d.takes_exit_do) throw;
    }
  }

  bool continues(const DoLoop& d) {
    if (!d.condition) return true;
    return holds(*d.condition) != d.until;
  }

  // The subject is evaluated once; a Null comparison holds nowhere.
  void perform(const SelectCase& c, const Statement&) {
    const Variant subject = com::value_of(evaluate(*c.subject));
    for (const SelectCase::Clause& clause : c.clauses) {
      const bool chosen = clause.tests.empty() || std::any_of(clause.tests.begin(), clause.tests.end(), [&](const auto& t) {
                            return matches(subject, t);
                          });
      if (chosen) return run(clause.body);
    }
  }

  bool matches(const Variant& subject, const SelectCase::Test& test) {
    const auto compare = [&](BinaryOp op, const Expr& e) {
      const Variant result = apply(op, subject, com::value_of(evaluate(e)));
      return !result.is_null() && com::cbool(result);
    };
    switch (test.kind) {
      case SelectCase::Test::Kind::Range:
        return compare(BinaryOp::GreaterEqual, *test.value) && compare(BinaryOp::LessEqual, *test.high);
      case SelectCase::Test::Kind::Compare: return compare(test.op, *test.value);
      default: return compare(BinaryOp::Equal, *test.value);
    }
  }

  // --- procedures --------------------------------------------------------

  // A procedure of the session by name; a Function's own name inside it is
  // its result, unless it is called (`f(n - 1)`).
  const Session::State::ProcedureRef* find_procedure(const std::string& name, bool calling) const {
    const auto it = state_.procedures.find(key_of(name));
    if (it == state_.procedures.end()) return nullptr;
    if (frame_ && !calling && key_of(frame_->procedure.name) == key_of(name)) return nullptr;
    return &it->second;
  }

  // Each call has its own frame and counts against the call depth (error 28
  // past it). Arguments passed by reference as a bare variable name get the
  // parameter's last value back when the call ends, as by reference passes them.
  Variant call_procedure(const Session::State::ProcedureRef ref, const std::vector<Argument>& arguments) {
    const Procedure& procedure = *ref.procedure;
    const CallDepth depth;
    Frame frame(state_, procedure);
    std::vector<std::pair<const Parameter*, const Expr*>> by_reference;
    bind_parameters(procedure, arguments, frame, by_reference);
    if (procedure.function) declare(frame.locals[key_of(procedure.name)], procedure.result);
    try {
      Executor(state_, ref.program->name, ref.program->lines, &frame).run(procedure.body);
    } catch (const ProcedureExit&) {
    }
    for (const auto& [parameter, target] : by_reference) {
      Variable& local = frame.locals.at(key_of(parameter->name));
      assign(*target, local.value, local.value.is_object());
    }
    return procedure.function ? frame.locals.at(key_of(procedure.name)).value : Variant();
  }

  void bind_parameters(const Procedure& procedure, const std::vector<Argument>& arguments, Frame& frame,
                       std::vector<std::pair<const Parameter*, const Expr*>>& by_reference) {
    const std::vector<Parameter>& parameters = procedure.parameters;
    std::vector<const Argument*> given(parameters.size(), nullptr);
    std::size_t position = 0;
    for (const Argument& a : arguments) {
      std::size_t i = position++;
      if (!a.name.empty()) {
        const auto named = std::find_if(parameters.begin(), parameters.end(),
                                        [&](const Parameter& p) { return key_of(p.name) == key_of(a.name); });
        if (named == parameters.end()) com::raise(com::err::NamedArgumentNotFound);
        i = static_cast<std::size_t>(named - parameters.begin());
      }
      if (i >= parameters.size()) com::raise(com::err::WrongNumberOfArguments);
      if (a.value) given[i] = &a;
    }
    for (std::size_t i = 0; i < parameters.size(); ++i) {
      const Parameter& p = parameters[i];
      if (!given[i] && !p.optional) com::raise(com::err::ArgumentNotOptional);
      Variant value = given[i]                 ? evaluate(*given[i]->value)
                      : p.default_value        ? evaluate(*p.default_value)
                      : p.type == VarType::Variant ? Variant::missing()
                                                   : initial_value(p.type);
      Variable& local = frame.locals[key_of(p.name)];
      declare(local, p.type);
      bind(state_, local, std::move(value));
      if (given[i] && !p.by_value && passes_variable(*given[i]->value)) by_reference.emplace_back(&p, given[i]->value.get());
    }
  }

  bool passes_variable(const Expr& e) {
    const auto* name = std::get_if<Name>(&e.node);
    return name && resolve(name->name).kind == Resolved::Variable;
  }

  void declare(Variable& variable, VarType type) {
    variable.type = type;
    state_.keep(variable, initial_value(type));
  }

  // A loop counts in a variable, declared by its first use.
  script::Variable& loop_variable(const std::string& name) {
    Resolved r = resolve(name);
    if (r.kind == Resolved::Variable) return *r.variable;
    if (r.kind != Resolved::Unknown) throw Refusal("'" + name + "' cannot be a loop variable");
    return scope()[key_of(name)];
  }

  // --- names -------------------------------------------------------------

  Dispatch* application() const {
    const Variant& app = state_.application;
    return app.is_object() ? app.object().get() : nullptr;
  }

  // Where a new variable goes: the call's locals, or the session's.
  std::unordered_map<std::string, Variable>& scope() { return frame_ ? frame_->locals : state_.variables; }
  bool& resume_next() { return frame_ ? frame_->resume_next : state_.resume_next; }

  Resolved resolve(const std::string& name, bool calling = false) {
    Resolved r;
    const auto local = frame_ ? frame_->locals.find(key_of(name)) : state_.variables.end();
    if (frame_ && local != frame_->locals.end() && !(calling && find_procedure(name, true) &&
                                                     key_of(frame_->procedure.name) == key_of(name))) {
      r.kind = Resolved::Variable;
      r.variable = &local->second;
    } else if ((r.procedure = find_procedure(name, calling))) {
      r.kind = Resolved::Procedure;
    } else if (auto it = state_.variables.find(key_of(name)); it != state_.variables.end()) {
      r.kind = Resolved::Variable;
      r.variable = &it->second;
    } else if (key_of(name) == "application") {
      r.kind = Resolved::Application;
    } else if (key_of(name) == "err") {
      r.kind = Resolved::Err;
    } else if ((r.host = find_host_function(name))) {
      r.kind = Resolved::Host;
    } else if ((r.builtin = find_builtin(name))) {
      r.kind = Resolved::Builtin;
    } else if (const auto id = application() ? application()->members().id_of(name) : std::nullopt) {
      r.kind = Resolved::Member;
      r.id = *id;
    } else if (auto constant = find_constant(name)) {
      r.kind = Resolved::Constant;
      r.constant = std::move(*constant);
    }
    return r;
  }

  const HostFunction* find_host_function(std::string_view name) const {
    for (const HostFunction& f : state_.functions)
      if (same_function_name(f.name, name)) return &f;
    return nullptr;
  }

  Variant read_name(const std::string& name, Arguments* args) {
    Resolved r = resolve(name);
    switch (r.kind) {
      case Resolved::Procedure: return call_procedure(*r.procedure, {});
      case Resolved::Variable: return args ? index(r.variable->value, *args) : r.variable->value;
      case Resolved::Application: return args ? index(state_.application, *args) : state_.application;
      case Resolved::Err: {
        const Variant err(state_.err);
        return args ? index(err, *args) : err;
      }
      case Resolved::Host: {
        Arguments none;
        return call_host(*r.host, args ? *args : none);
      }
      case Resolved::Builtin: {
        Arguments none;
        return call_builtin_checked(*r.builtin, args ? *args : none);
      }
      case Resolved::Member: {
        Arguments none;
        return invoke(*application(), r.id, kRead, args ? *args : none);
      }
      case Resolved::Constant:
        if (args) throw Refusal("'" + name + "' is a constant, not a function");
        return r.constant;
      default: throw Refusal("unknown name '" + name + "'");
    }
  }

  void call_name(const std::string& name, Arguments& args) {
    Resolved r = resolve(name);
    switch (r.kind) {
      case Resolved::Host: call_host(*r.host, args); return;
      case Resolved::Builtin: call_builtin_checked(*r.builtin, args); return;
      case Resolved::Member: invoke(*application(), r.id, kRead, args); return;
      case Resolved::Unknown: throw Refusal("unknown procedure '" + name + "'");
      default: throw Refusal("'" + name + "' is not a procedure");
    }
  }

  Variant call_builtin_checked(const Builtin& builtin, const Arguments& args) {
    if (!builtin.function)
      throw Refusal(std::string(builtin.name) + " is not available: scripts run without a user interface");
    if (!args.names.empty()) com::raise(com::err::NamedArgumentNotFound);
    return call_builtin(builtin, args.values);
  }

  static Variant call_host(const HostFunction& function, const Arguments& args) {
    if (!args.names.empty()) com::raise(com::err::NamedArgumentNotFound);
    return function.call(checked_arguments(args.values, function.min_args, function.max_args));
  }

  // `v(args)`: an array's element or an object's default member.
  Variant index(const Variant& v, Arguments& args) {
    if (v.is_array()) {
      Variant copy = v;
      return element(copy, args);
    }
    return invoke(com::object_of(v), com::DISPID_VALUE, kRead, args);
  }

  // --- assignment --------------------------------------------------------

  // Objects are reached through a Variant held for the whole call: a
  // temporary one may hold the only reference (Range("A1") makes a new one).
  void assign(const Expr& target, Variant value, bool set) {
    if (const auto* name = std::get_if<Name>(&target.node)) return assign_name(name->name, nullptr, std::move(value), set);
    if (const auto* member = std::get_if<Member>(&target.node)) {
      const Variant holder = evaluate(*member->object);
      Dispatch& object = com::object_of(holder);
      Arguments none;
      return put(object, object.id_of(member->name), none, std::move(value), set);
    }
    const auto& call = std::get<Call>(target.node);
    Arguments args = evaluate_arguments(call.arguments);
    if (const auto* name = std::get_if<Name>(&call.callee->node)) return assign_name(name->name, &args, std::move(value), set);
    if (const auto* member = std::get_if<Member>(&call.callee->node)) {
      const Variant holder = evaluate(*member->object);
      Dispatch& object = com::object_of(holder);
      return put(object, object.id_of(member->name), args, std::move(value), set);
    }
    const Variant holder = evaluate(*call.callee);
    put(com::object_of(holder), com::DISPID_VALUE, args, std::move(value), set);
  }

  void assign_name(const std::string& name, Arguments* args, Variant value, bool set) {
    Resolved r = resolve(name);
    switch (r.kind) {
      case Resolved::Variable: return assign_variable(*r.variable, args, std::move(value), set);
      case Resolved::Member: {
        Arguments none;
        return put(*application(), r.id, args ? *args : none, std::move(value), set);
      }
      case Resolved::Unknown:
        if (args) throw Refusal("unknown name '" + name + "'");
        // Assigning a new name declares it, as in a module without Option Explicit.
        return assign_variable(scope()[key_of(name)], nullptr, std::move(value), set);
      default: throw Refusal("cannot assign to '" + name + "'");
    }
  }

  void assign_variable(Variable& variable, Arguments* args, Variant value, bool set) {
    if (args && variable.value.is_array()) {
      Variant& slot = element(variable.value, *args);
      state_.account(variable, footprint(slot), footprint(value));
      slot = std::move(value);
    } else if (args) {
      const Variant holder = variable.value;
      put(com::object_of(holder), com::DISPID_VALUE, *args, std::move(value), set);
    } else {
      store(state_, variable, std::move(value), set);
    }
  }

  // `object.member(args) = value`. A member without a put of its own (a
  // Range returned by Range("A1"), Cells, ActiveCell) takes the value on the
  // default member of the object it returns.
  void put(Dispatch& object, com::DispId id, Arguments& args, Variant value, bool set) {
    const com::MemberTable& members = object.members();
    if (members.find(id, put_kind(object, id, set)) || !members.find(id, kRead)) {
      put_member(object, id, args, std::move(value), set);
      return;
    }
    const Variant holder = invoke(object, id, kRead, args);
    Arguments none;
    put_member(com::object_of(holder), com::DISPID_VALUE, none, std::move(value), set);
  }

  static CallKind put_kind(const Dispatch& object, com::DispId id, bool set) {
    return set && object.members().find(id, CallKind::PutRef) ? CallKind::PutRef : CallKind::Put;
  }

  // The new value goes after the index arguments, before the named ones.
  void put_member(Dispatch& object, com::DispId id, Arguments& args, Variant value, bool set) {
    args.values.insert(args.values.begin() + static_cast<std::ptrdiff_t>(args.positional()), std::move(value));
    invoke(object, id, put_kind(object, id, set), args);
  }

  // --- expressions -------------------------------------------------------

  Arguments evaluate_arguments(const std::vector<Argument>& arguments) {
    Arguments args;
    for (const Argument& a : arguments) {
      args.values.push_back(a.value ? evaluate(*a.value) : Variant::missing());
      if (!a.name.empty()) args.names.push_back(a.name);
    }
    return args;
  }

  Variant evaluate(const Expr& e) {
    check_stack();
    return std::visit([&](const auto& node) { return value(node); }, e.node);
  }

  Variant value(const Literal& l) { return l.value; }
  Variant value(const Name& n) { return read_name(n.name, nullptr); }
  Variant value(const WithObject&) {
    if (withs_.empty()) throw Refusal("'.' outside a With block");
    return withs_.back();
  }
  Variant value(const Member& m) {
    const Variant holder = evaluate(*m.object);
    Dispatch& object = com::object_of(holder);
    Arguments none;
    return invoke(object, object.id_of(m.name), kRead, none);
  }
  Variant value(const Call& c) {
    if (const auto* name = std::get_if<Name>(&c.callee->node)) {
      if (const Resolved r = resolve(name->name, true); r.kind == Resolved::Procedure) {
        return call_procedure(*r.procedure, c.arguments);
      }
    }
    Arguments args = evaluate_arguments(c.arguments);
    if (const auto* name = std::get_if<Name>(&c.callee->node)) return read_name(name->name, &args);
    if (const auto* member = std::get_if<Member>(&c.callee->node)) {
      const Variant holder = evaluate(*member->object);
      Dispatch& object = com::object_of(holder);
      return invoke(object, object.id_of(member->name), kRead, args);
    }
    return index(evaluate(*c.callee), args);
  }
  Variant value(const Unary& u) { return apply(u.op, evaluate(*u.operand)); }
  Variant value(const Binary& b) {
    const Variant left = evaluate(*b.left);
    return apply(b.op, left, evaluate(*b.right));
  }

  Session::State& state_;
  const std::string& name_;
  const std::vector<SourceLine>& lines_;
  Frame* frame_;                // null outside any procedure
  std::vector<Variant> withs_;  // the objects of the open With blocks, innermost last
};

}  // namespace

Session::Session(Variant application, HostCallback host, HostFunctions functions)
    : state_(std::make_unique<State>(std::move(application), std::move(host), std::move(functions))) {}
Session::~Session() = default;
Session::Session(Session&&) noexcept = default;
Session& Session::operator=(Session&&) noexcept = default;

namespace {

// A recorded module holds only Subs: its first Sub without parameters is what
// Excel's Tools, Macro, Run offers first, so such a script runs it. Lines for
// the host ('#check') do not count as the script's own statements.
const Procedure* entry_procedure(const Program& program) {
  const bool statements = std::any_of(program.body.begin(), program.body.end(),
                                      [](const Statement& s) { return !std::holds_alternative<HostLine>(s.action); });
  if (statements) return nullptr;
  const auto entry = std::find_if(program.procedures.begin(), program.procedures.end(),
                                  [](const Procedure& p) { return !p.function && p.parameters.empty(); });
  return entry == program.procedures.end() ? nullptr : &*entry;
}

}  // namespace

void Session::run(const Script& script) {
  const CallDepth depth;
  const Program& program = *script.program_;
  for (const Procedure& p : program.procedures) state_->procedures[key_of(p.name)] = {script.program_, &p};
  Executor executor(*state_, program.name, program.lines);
  if (const Procedure* entry = entry_procedure(program)) executor.run_entry(state_->procedures.at(key_of(entry->name)));
  executor.run(program.body);
}

void Session::run_line(std::string_view text) { run(parse(text)); }

Variant Session::evaluate(std::string_view expression) {
  std::vector<SourceLine> lines;
  const ExprPtr e = parse_expression(expression, lines);
  const std::string no_name;
  const CallDepth depth;
  return Executor(*state_, no_name, lines).evaluate_alone(*e, 0);
}

std::optional<Variant> Session::variable(std::string_view name) const {
  const auto it = state_->variables.find(key_of(name));
  if (it == state_->variables.end()) return std::nullopt;
  return it->second.value;
}

void Session::set_variable(std::string_view name, Variant value) {
  bind(*state_, state_->variables[key_of(name)], std::move(value));
}

void run(const Script& script, Variant application, HostCallback host, HostFunctions functions) {
  Session(std::move(application), std::move(host), std::move(functions)).run(script);
}

}  // namespace platform::script
