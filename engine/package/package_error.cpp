#include "engine/package/package_error.hpp"

namespace engine::package {

namespace {
std::string describe(const std::string& entry, const std::string& problem) {
  if (entry.empty()) return problem;
  return "part '" + entry + "': " + problem;
}
}  // namespace

PackageError::PackageError(std::string entry, std::string problem)
    : std::runtime_error(describe(entry, problem)), entry_(std::move(entry)), problem_(std::move(problem)) {}

}  // namespace engine::package
