// Text at the boundary of the ANSI window calls: the system's UTF-8 becomes
// Windows-1252, the code page of the Western European systems the callers
// ran on. Characters that code page lacks become '?', as Windows' own
// conversion without best fit gives them.
#pragma once

#include <string>
#include <string_view>

namespace platform::win32 {

std::string to_windows_1252(std::string_view utf8);

}  // namespace platform::win32
