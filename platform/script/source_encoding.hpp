// The encodings a script's file may come in. Scripts are UTF-8; an editor on
// Windows may also save them as UTF-16 (little- or big-endian, led by its
// byte-order mark), which is read as well. Anything else with NUL bytes in
// it is refused by name, rather than read as text cut at its first NUL.
#pragma once

#include <string>
#include <string_view>

namespace platform::script {

// `source` as UTF-8 text: itself (less a UTF-8 byte-order mark), or its
// UTF-16 converted into `storage`. Raises ScriptError (Kind::Syntax) for a
// UTF-16 text of an odd length and for a NUL character anywhere, naming
// its line.
std::string_view utf8_source(std::string_view source, std::string& storage, const std::string& script_name);

}  // namespace platform::script
