// Folder calls: the runtime's MkDir and RmDir, the existence test the system
// makes, and the image-help call that creates a whole folder path.
#pragma once

#include <string_view>

namespace platform::fs {

// MkDir: creates one folder. 75 when the name is taken, 76 when its parent
// folder is missing.
void MkDir(std::string_view path);

// RmDir: removes an empty folder. 76 when it is not a folder, 75 when it is
// not empty.
void RmDir(std::string_view path);

// True when the path names an existing folder (in any letter case).
bool folder_exists(std::string_view path);

// True when the path's last component is a symbolic link (to a folder or
// anything else); folders above it may be links, as a home folder often is.
bool is_symbolic_link(std::string_view path);

// Creates every missing folder of the path up to its last separator (the
// part after it is a file name and is left alone), so "a\b\c\" creates a, b
// and c and "a\b\c.xls" creates a and b. True when all levels exist
// afterwards; false when one cannot be created or a file is in the way.
bool MakeSureDirectoryPathExists(std::string_view path);

}  // namespace platform::fs
