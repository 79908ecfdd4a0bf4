// Question numbers as the command and the "#init" line take them.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace d72506::player {

// The chapter's questions.
inline constexpr std::int32_t kFirstQuestion = 601;
inline constexpr std::int32_t kLastQuestion = 615;

// Decimal digits only, so that "0601" is 601 and never octal; the value must
// fit the module's 32-bit argument. nullopt for anything else.
std::optional<std::int32_t> parse_question_number(std::string_view text);

}  // namespace d72506::player
