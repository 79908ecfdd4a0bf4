#include "engine/import/file_error.hpp"

namespace engine::import {

namespace {
std::string describe(const std::string& file, const std::string& problem) {
  if (file.empty()) return problem;
  return "'" + file + "' cannot be used as an Excel workbook: " + problem;
}
}  // namespace

FileError::FileError(std::string file, std::string problem)
    : platform::com::Error(platform::com::err::ApplicationDefined, "engine.import", describe(file, problem)),
      file_(std::move(file)),
      problem_(std::move(problem)) {}

void fail(std::string problem) { throw FileError({}, std::move(problem)); }

}  // namespace engine::import
