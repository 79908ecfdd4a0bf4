// The failure a workbook file that cannot be read or written raises, whatever
// its format. It is the runtime's error 1004, the one Workbooks.Open raises
// in the original, so the application layer can let it pass unchanged;
// file() and problem() keep the two halves of the message apart for callers
// that want them. The file is the trainee's file as named on disk, never a
// part or stream inside it: those belong in the problem.
#pragma once

#include <string>

#include "platform/com/error.hpp"

namespace engine::import {

class FileError : public platform::com::Error {
 public:
  FileError(std::string file, std::string problem);

  const std::string& file() const { return file_; }
  const std::string& problem() const { return problem_; }

  // The same problem, now attributed to `file` (the lower layers do not know it).
  FileError for_file(std::string file) const { return FileError(std::move(file), problem_); }

 private:
  std::string file_;
  std::string problem_;
};

// Raised by the decoding layers, which see only bytes; the entry points name the file.
[[noreturn]] void fail(std::string problem);

}  // namespace engine::import
