// How the original file system compares names: without regard to letter
// case, and with the DOS flavour of wildcards its directory listings accept.
#pragma once

#include <string>
#include <string_view>

namespace platform::fs {

// The form two names are compared in: Unicode case folding of the NFC form,
// so "MODÈLES" and "modèles" (composed or not) compare equal. Text that is
// not valid UTF-8 is compared byte for byte.
std::string fold_name(std::string_view name);

// True when two names denote the same entry on a case-insensitive volume.
bool same_name(std::string_view a, std::string_view b);

// True when the name contains a wildcard character ('*' or '?').
bool has_wildcards(std::string_view pattern);

// Matches a name against a pattern, case-insensitively. '*' stands for any run
// of characters and '?' for one character, or none before a dot or at the end.
// A '.' that ends the pattern or is followed only by '*' also matches the end
// of a name, so "*.*" matches every name, with or without a dot, as the
// original listing does.
bool wildcard_match(std::string_view pattern, std::string_view name);

}  // namespace platform::fs
