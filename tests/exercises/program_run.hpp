// Running another program as a process from a test: the converters of the
// other spreadsheet programs and the built d72506 command.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace exercises::testing {

// Whether `program` is found on the PATH.
bool installed(std::string_view program);

struct ProgramRun {
  bool succeeded = false;  // finished in time with status 0
  std::string output;      // standard output
  std::string errors;      // standard error
};

// Runs `arguments` (each passed as one argument, whatever it holds) with no
// input, stopped after `seconds`.
ProgramRun run_program(const std::vector<std::string>& arguments, int seconds);

}  // namespace exercises::testing
