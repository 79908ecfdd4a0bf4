// Saved answers made as a trainee makes them: the question's delivered
// exercise file opened in the stand-in Excel, statements run on it, the
// workbook saved under a name of the test's choosing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "player/folder.hpp"

namespace d72506::player::testing {

class SavedAnswerFiles {
 public:
  SavedAnswerFiles();

  // The question's exercise workbook after `statements`, saved as `name` in
  // this folder (as a template when the name ends with ".xlt").
  std::filesystem::path make(std::int32_t question, const std::string& statements, const std::string& name) const;
  // A file of this folder holding `bytes`.
  std::filesystem::path write(const std::string& name, const std::string& bytes) const;

  const std::filesystem::path& folder() const { return folder_.path(); }

 private:
  Folder folder_;
  Folder templates_;
};

// The whole content of a file.
std::string contents(const std::filesystem::path& file);

}  // namespace d72506::player::testing
