// The runtime's statements that delete, rename and copy files, with the
// errors the original raises: 53 file not found, 58 file already exists,
// 75 path/file access error, 76 path not found. None of them follows a
// symbolic link to change what it points to.
#pragma once

#include <string_view>

namespace platform::fs {

// Kill: deletes the files the path names; its name may hold wildcards. Only
// files a mask-0 listing shows are candidates (folders, hidden and system
// files are not). 76 when the folder is missing, 53 when nothing matches, 75
// when a match is read-only or neither a file nor a symbolic link; nothing
// is deleted then. A link is removed as a link, its target untouched.
// A path ending with a separator names no file (53), never the whole folder.
void Kill(std::string_view path);

// Name old As new: renames or moves a file or folder. 53 when `from` does not
// exist, 58 when `to` already does (in any letter case, unless it is `from`
// itself being respelled), 76 when the folder of `to` is missing, 75 for any
// other refusal, a symbolic link `from` among them.
void Name(std::string_view from, std::string_view to);

// FileCopy: copies a file's contents and attributes over `to`, replacing an
// existing file. 53 when `from` is not a file, 76 when the folder of `to` is
// missing, 75 when `to` is a folder, a symbolic link, read-only, or `from`
// itself.
void FileCopy(std::string_view from, std::string_view to);

}  // namespace platform::fs
