// The Err object of the macro language: what the last statement that failed
// under On Error Resume Next raised, until Err.Clear or the next On Error
// statement. A script probes with it (If Err.Number <> 0 Then ...).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/com/dispatch.hpp"
#include "platform/com/error.hpp"

namespace platform::script {

class ErrObject final : public com::Dispatch {
 public:
  void record(const com::Error& error);
  void clear();

  std::int32_t number() const { return number_; }
  void set_number(std::int32_t number) { number_ = number; }
  std::string description() const { return description_; }
  void set_description(std::string description) { description_ = std::move(description); }
  std::string source() const { return source_; }
  void set_source(std::string source) { source_ = std::move(source); }
  // Err.Raise: the runtime's text when no description is given.
  [[noreturn]] void raise_error(std::int32_t number, const std::optional<std::string>& source,
                                const std::optional<std::string>& description);

  const com::MemberTable& members() const override;

 private:
  std::int32_t number_ = 0;
  std::string description_;
  std::string source_;
};

}  // namespace platform::script
