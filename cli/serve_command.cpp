// `serve`: the module driven by JSON lines on standard input and output, so
// that a player written in any language can run a session. docs/protocol.md
// describes the requests and responses with a complete example.
#include <nlohmann/json.hpp>

#include <istream>
#include <map>
#include <ostream>
#include <string_view>

#include "cli/commands.hpp"
#include "player/folder.hpp"
#include "player/host_lines.hpp"
#include "player/report.hpp"
#include "player/shown_value.hpp"
#include "player/statement_failure.hpp"
#include "platform/script/budget.hpp"

namespace d72506::cli {

namespace com = platform::com;
namespace script = platform::script;
// Keys stay in the order written, "id" first, for people reading a session.
using json = nlohmann::ordered_json;
using player::Folder;
using player::Player;

namespace {

constexpr const char* kSource = "d72506 serve";
// A request holds at most a script's worth of statements, escaped.
constexpr std::size_t kMaxRequestSize = 4 * script::kMaxSourceSize;

// No request needs more; parsing, copying and freeing a JSON value recurse
// as deep as it nests, so deeper ones are refused before they are parsed.
constexpr int kMaxNesting = 64;

// Whether the text's arrays and objects nest deeper than kMaxNesting,
// brackets inside strings aside.
bool too_deep(std::string_view text) {
  int depth = 0;
  bool in_string = false;
  bool escaped = false;
  for (const char c : text) {
    if (in_string) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxNesting) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

[[noreturn]] void bad_request(const std::string& problem) { com::raise(com::err::InvalidCall, kSource, problem); }

const json& param(const json& params, const char* name, json::value_t type) {
  const auto found = params.find(name);
  if (found == params.end()) bad_request(std::string("params.") + name + " is required");
  const bool matches = found->type() == type || (type == json::value_t::number_integer && found->is_number_integer());
  if (!matches) {
    bad_request(std::string("params.") + name + " must be " + (type == json::value_t::string ? "text" : "an integer") +
                ", not " + found->type_name());
  }
  return *found;
}

std::int32_t question_param(const json& params) {
  const auto value = param(params, "question", json::value_t::number_integer).get<std::int64_t>();
  if (value < INT32_MIN || value > INT32_MAX) bad_request("params.question does not fit a 32-bit integer");
  return static_cast<std::int32_t>(value);
}

json error_json(std::int32_t number, const std::string& source, const std::string& description) {
  return {{"number", number}, {"source", source}, {"description", description}};
}

json verdict_json(const player::Verdict& v) {
  return {{"erreurGenerale", v.erreur_generale}, {"causeErreur", v.cause_erreur}, {"bravoNuance", v.bravo_nuance},
          {"complement", v.complement}};
}

// One session: the module, the application it hands back (or the player's
// own), and the trainee's statements with their variables.
class Server {
 public:
  Server(const ServeOptions& options, std::ostream& notes)
      : templates_(Folder::named_or_temporary(options.setup.templates_root, "d72506-templates")),
        working_(Folder::named_or_temporary(options.setup.workdir, "d72506-work")),
        limits_(options.setup.limits),
        player_(registered(options.setup, templates_.path(), working_.path()), working_.path(), notes),
        host_(player_, [this](const player::Verdict& v) { verdicts_.push_back(verdict_json(v)); }) {}

  ~Server() { player_.abandon(); }
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // The response to one request line.
  json respond(const std::string& line) {
    if (too_deep(line)) {
      return {{"id", nullptr},
              {"error", error_json(com::err::InvalidCall, kSource,
                                   "the request nests deeper than " + std::to_string(kMaxNesting) + " levels")}};
    }
    json request = json::parse(line, nullptr, false);
    if (request.is_discarded() || !request.is_object()) {
      return {{"id", nullptr}, {"error", error_json(com::err::InvalidCall, kSource, "not a JSON object: a request "
                                                                                    "is {\"id\", \"method\", \"params\"}")}};
    }
    // An id is given back as it came: a number, a text or null.
    const auto id = request.find("id");
    const bool id_usable = id == request.end() || id->is_primitive();
    json response = {{"id", id != request.end() && id_usable ? *id : json(nullptr)}};
    if (!id_usable) {
      response["error"] = error_json(com::err::InvalidCall, kSource, "id must be a number, a text or null");
      return response;
    }
    try {
      response["result"] = dispatch(request);
    } catch (const player::PlayerCallFailed& e) {
      response["error"] = error_json(e.failure().number, e.failure().source, e.failure().description);
    } catch (const com::Error& e) {
      response["error"] = error_json(e.number(), e.source(), e.description());
    }
    return response;
  }

 private:
  using Method = json (Server::*)(const json& params);

  // The classes registered before the player creates the module; the
  // exercises folder for the player.
  static const std::filesystem::path& registered(const player::RunSetup& setup,
                                                 const std::filesystem::path& templates,
                                                 const std::filesystem::path& working) {
    player::register_classes(templates, setup.printer, working);
    return setup.exercises;
  }

  json dispatch(const json& request) {
    static const std::map<std::string, Method> kMethods = {
        {"InitQuestion", &Server::init_question}, {"TestePoint", &Server::teste_point},
        {"ErreurGenerale", &Server::erreur_generale}, {"CauseErreur", &Server::cause_erreur},
        {"BravoNuance", &Server::bravo_nuance}, {"Complement", &Server::complement},
        {"Fermer", &Server::fermer}, {"Quitter", &Server::quitter},
        {"run", &Server::run}, {"evaluate", &Server::evaluate}};
    const auto method = request.find("method");
    if (method == request.end() || !method->is_string()) bad_request("method is required, as text");
    const auto found = kMethods.find(method->get<std::string>());
    if (found == kMethods.end()) {
      com::raise(com::err::MemberNotFound, kSource, "no method '" + method->get<std::string>() + "'");
    }
    static const json kNoParams = json::object();
    const auto params = request.find("params");
    if (params != request.end() && !params->is_object()) bad_request("params is an object");
    return (this->*found->second)(params == request.end() ? kNoParams : *params);
  }

  json application_state() const {
    return {{"application", player_.application() != nullptr}, {"window", player_.window()}};
  }

  json init_question(const json& params) {
    player_.init_question(question_param(params));
    return application_state();
  }
  json teste_point(const json&) {
    player_.call_teste_point();
    return nullptr;
  }
  json erreur_generale(const json&) { return player_.read_erreur_generale(); }
  json cause_erreur(const json&) { return player_.read_cause_erreur(); }
  json bravo_nuance(const json&) { return player_.read_bravo_nuance(); }
  json complement(const json&) {
    const auto lines = player_.read_complement();
    return lines ? json(*lines) : json(nullptr);
  }
  json fermer(const json&) {
    player_.fermer();
    return nullptr;
  }
  json quitter(const json&) {
    player_.quitter();
    return application_state();
  }

  // Statements and "#" lines, as the shell runs them; the verdicts of the
  // "#check" lines among them are the result.
  json run(const json& params) {
    const std::string& text = param(params, "statements", json::value_t::string).get_ref<const std::string&>();
    verdicts_ = json::array();
    with_statements([&](script::Session& session) { session.run_line(text); });
    return {{"verdicts", std::exchange(verdicts_, json::array())}};
  }
  json evaluate(const json& params) {
    const std::string& text = param(params, "expression", json::value_t::string).get_ref<const std::string&>();
    json value;
    with_statements([&](script::Session& session) { value = player::shown_value(session.evaluate(text)); });
    return value;
  }

  // The session on the application the player holds now, under a budget
  // whose clock starts with the request.
  template <class Body>
  void with_statements(Body&& body) {
    if (!player_.application()) com::raise(com::err::ObjectNotSet, kSource, "no application: call InitQuestion first");
    if (!statements_ || statements_on_ != player_.application()) {
      budget_ = std::make_shared<script::Budget>(limits_);
      const script::Budget::Scope scope(budget_);
      statements_.emplace(com::Variant(player_.application()), host_.callback());
      statements_on_ = player_.application();
    }
    budget_->restart();
    const script::Budget::Scope scope(budget_);
    try {
      body(*statements_);
    } catch (const script::ScriptError& e) {
      throw player::statement_failure(e);
    } catch (const player::HostLineError& e) {
      throw player::statement_failure(e.line(), e.what());
    }
  }

  Folder templates_;
  Folder working_;
  script::Limits limits_;
  Player player_;
  player::HostLines host_;
  json verdicts_ = json::array();
  std::shared_ptr<script::Budget> budget_;
  std::optional<script::Session> statements_;
  std::shared_ptr<com::Dispatch> statements_on_;
};

// Reads one line of at most kMaxRequestSize bytes; a longer one is read to
// its end and reported as too long. False at the end of the input.
bool read_request(std::istream& in, std::string& line, bool& too_long) {
  line.clear();
  too_long = false;
  char c;
  bool any = false;
  while (in.get(c)) {
    any = true;
    if (c == '\n') return true;
    if (line.size() < kMaxRequestSize) {
      line.push_back(c);
    } else {
      too_long = true;
    }
  }
  return any;
}

}  // namespace

int serve(const ServeOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  Server server(options, err);
  std::string line;
  bool too_long = false;
  while (read_request(in, line, too_long)) {
    if (line.find_first_not_of(" \t\r") == std::string::npos && !too_long) continue;
    const json response =
        too_long ? json{{"id", nullptr},
                        {"error", error_json(com::err::InvalidCall, kSource,
                                             "the request is longer than " + std::to_string(kMaxRequestSize) +
                                                 " bytes")}}
                 : server.respond(line);
    out << response.dump(-1, ' ', false, json::error_handler_t::replace) << std::endl;
  }
  return kExitSuccess;
}

}  // namespace d72506::cli
