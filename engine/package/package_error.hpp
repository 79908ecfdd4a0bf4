// The failure raised when a zip package or one of its XML parts cannot be
// read. It names the entry (and, for XML, the line or element) so that the
// reader above can tell the trainee where the damage is; the reader turns it
// into the workbook's FileError, which adds the file's own name.
#pragma once

#include <stdexcept>
#include <string>

namespace engine::package {

class PackageError : public std::runtime_error {
 public:
  // `entry` is empty for faults of the archive as a whole.
  PackageError(std::string entry, std::string problem);

  const std::string& entry() const { return entry_; }
  const std::string& problem() const { return problem_; }

 private:
  std::string entry_;
  std::string problem_;
};

}  // namespace engine::package
