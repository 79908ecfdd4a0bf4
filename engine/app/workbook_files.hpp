// Workbook files as Excel names and finds them: a relative file name lies in
// Excel's current folder (not the process's), both "\" and "/" separate, and
// an existing file is found whatever the letter case of the name given.
#pragma once

#include <memory>
#include <string>

#include "engine/model/workbook.hpp"

namespace engine::app {

class Application;

// The full name of `filename`, completed with Excel's current folder when relative.
std::string full_file_name(const Application& app, const std::string& filename);
// "Thor.xls" of "C:\Cours\Thor.xls"; the folder part without its final separator.
std::string file_part(const std::string& full_name);
std::string folder_part(const std::string& full_name);
// "Thor" of "Thor.xlt": the name without its extension.
std::string stem(const std::string& name);
bool has_template_extension(const std::string& name);

// The workbook in the file, named as the file is spelled on disk. A missing
// file raises 1004 naming it; an unreadable one raises the reader's 1004.
std::shared_ptr<model::Workbook> read_workbook(const std::string& full_name);
// Writes the file (replacing one that exists) and records the workbook as
// saved there. A folder that does not exist, or one outside the folders
// `app` may write into, raises 1004 before anything is written.
void write_workbook(const Application& app, model::Workbook& book, const std::string& full_name);

}  // namespace engine::app
