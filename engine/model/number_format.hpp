// Number format codes as a BIFF8 file carries them: the built-in codes have
// fixed identifiers (0 "General" ... 49 "@") and are not written as FORMAT
// records; user codes get identifiers from 164 on. Codes are kept byte for
// byte (`@"-52"` stays exactly that).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine::model {

inline constexpr int kFirstUserFormatId = 164;
inline constexpr const char* kGeneralFormat = "General";
inline constexpr const char* kTextFormat = "@";

// The code of a built-in identifier (English US codes), or nothing for an
// identifier that has no built-in code.
std::optional<std::string_view> builtin_number_format(int id);

// The built-in identifier of a code, or nothing for a user code. "General"
// matches case-insensitively, as Excel accepts "general".
std::optional<int> builtin_number_format_id(std::string_view code);

// Whether the code formats numbers as dates or times (a d, m, y, h or s
// outside quotes, brackets other than elapsed times, and escapes).
bool is_date_format(std::string_view code);

// Whether the code is the text format "@" alone, which makes typed entries text.
bool is_text_format(std::string_view code);

}  // namespace engine::model
