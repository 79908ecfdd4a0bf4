// The runtime's Dir: a directory listing by pattern and attribute mask,
// consumed one name at a time. The listing in progress belongs to the
// calling thread, as the original runtime keeps it per thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/fs/attributes.hpp"

namespace platform::fs {

// Starts a listing and returns its first name ("" when nothing matches or the
// folder does not exist). The pattern is a folder followed by a name that may
// hold wildcards; a pattern ending with a separator lists the whole folder.
// Mask 0 gives the files that are neither hidden nor system; attr::Hidden,
// attr::System and attr::Directory add those kinds (the volume bit is
// ignored). With attr::Directory, a folder listing starts with "." and ".."
// as the original's does, which is also how "folder\" tests that a folder
// exists. Names come back as they are spelled on disk, in case-insensitive
// name order.
std::string Dir(std::string_view pattern, std::int32_t attributes = attr::Normal);

// The next name of the listing, "" once it is exhausted; raises 5 when no
// listing is in progress (none started, or the last one already ended).
std::string Dir();

}  // namespace platform::fs
