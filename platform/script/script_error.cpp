#include "platform/script/script.hpp"

namespace platform::script {

ScriptError::ScriptError(Kind kind, std::string script_name, int line, std::string text, std::string problem,
                         std::optional<com::Error> runtime_error, bool incomplete)
    : kind_(kind),
      script_name_(std::move(script_name)),
      line_(line),
      text_(std::move(text)),
      problem_(std::move(problem)),
      runtime_error_(std::move(runtime_error)),
      incomplete_(incomplete) {
  if (!script_name_.empty()) message_ = script_name_ + ": ";
  message_ += "line " + std::to_string(line_) + ": " + text_ + ": " + problem_;
}

}  // namespace platform::script
