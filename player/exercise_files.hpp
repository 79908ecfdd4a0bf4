// The exercise files the course player delivers into the working folder
// before it asks the module to prepare a question.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace d72506::player {

// The delivered files of a question: "07250601.xls" for 601, ..., the
// template "07250614.xlt" for 614. A number outside the chapter has none.
std::vector<std::string> delivered_files(std::int32_t question);

// Where the built exercise files are when none is named: beside the program
// or library holding this code ("exercises"), in the build tree one level
// up, or in the data folder of its install prefix ("share/d72506/exercises");
// the first that holds the files.
std::optional<std::filesystem::path> default_exercises_folder();

// Copies the question's delivered files from `exercises` into `working`,
// replacing older copies, and links of the same name as links (their
// targets are never written). A file missing from `exercises` is left out and
// named in the result: the module then reports the missing file itself, as
// it would to a player whose delivery failed. Throws
// std::filesystem::filesystem_error when a copy fails.
std::vector<std::string> deliver(std::int32_t question, const std::filesystem::path& exercises,
                                 const std::filesystem::path& working);

}  // namespace d72506::player
