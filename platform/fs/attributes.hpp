// File attributes as the original runtime reports and sets them. Read-only is
// the absence of the owner's write permission (for files; a folder's
// read-only flag does not protect its contents on the original, so a
// folder's is kept with the others). Hidden, system and archive live in the
// "user.DOSATTRIB" extended attribute in the form Samba reads and writes, so a
// share served from the same folder shows the same flags; on a file system
// without extended attributes they are silently not kept.
//
// A symbolic link is never followed: it reads as a plain entry with no
// attributes, and setting its attributes leaves it (and its target) alone,
// so that a link planted under a working name cannot lend its target's
// protection to it or have the target's protection lifted.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace platform::fs {

namespace attr {
inline constexpr std::int32_t Normal = 0;
inline constexpr std::int32_t ReadOnly = 1;
inline constexpr std::int32_t Hidden = 2;
inline constexpr std::int32_t System = 4;
inline constexpr std::int32_t Volume = 8;
inline constexpr std::int32_t Directory = 16;
inline constexpr std::int32_t Archive = 32;
}  // namespace attr

// The attributes of a host entry, nothing when it does not exist.
std::optional<std::int32_t> host_attributes(const std::filesystem::path& entry);

// Sets the read-only, hidden, system and archive bits of an existing host
// entry (others are ignored); 75 when the change is refused.
void set_host_attributes(const std::filesystem::path& entry, std::int32_t attributes);

// True when this folder's file system keeps extended attributes for us.
bool keeps_dos_attributes(const std::filesystem::path& folder);

// GetAttr: the attributes of a file or folder; 53 when it does not exist.
std::int32_t GetAttr(std::string_view path);

// SetAttr: sets read-only, hidden, system and archive exactly as given
// (Normal clears them all); 53 when the entry does not exist, 5 for the
// directory or volume bits, which cannot be set.
void SetAttr(std::string_view path, std::int32_t attributes);

}  // namespace platform::fs
