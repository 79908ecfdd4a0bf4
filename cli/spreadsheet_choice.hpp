// The application a command's run puts behind the module: the embedded
// stand-in, or LibreOffice through the bridge. Only the command links the
// bridge, so the player library and the C library need no LibreOffice.
#pragma once

#include <filesystem>
#include <string>

#include "player/run_setup.hpp"

namespace d72506::cli {

// Registers the chosen Excel and the module in the calling thread's class
// registry, as player::register_classes does for the stand-in.
void register_spreadsheet(const std::filesystem::path& templates_root, const std::string& printer,
                          const std::filesystem::path& working_folder, player::Spreadsheet spreadsheet);

}  // namespace d72506::cli
