#include "platform/script/source_encoding.hpp"

#include <algorithm>

#include "platform/com/text.hpp"
#include "platform/script/lexer.hpp"

namespace platform::script {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigMark = "\xFE\xFF";

std::string from_utf16(std::string_view bytes, bool big_endian) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(big_endian ? (first << 8 | second) : (second << 8 | first));
  }
  return com::to_utf8(units);
}

[[noreturn]] void refuse(const std::string& script_name, int line, std::string problem) {
  syntax_error(script_name, SourceLine{line, {}}, std::move(problem));
}

}  // namespace

std::string_view utf8_source(std::string_view source, std::string& storage, const std::string& script_name) {
  const bool little = source.starts_with(kUtf16LittleMark);
  if (little || source.starts_with(kUtf16BigMark)) {
    source.remove_prefix(2);
    if (source.size() % 2 != 0) refuse(script_name, 1, "the script's UTF-16 text ends in half a character");
    storage = from_utf16(source, !little);
    source = storage;
  } else if (source.starts_with(kUtf8Mark)) {
    source.remove_prefix(kUtf8Mark.size());
  }
  const auto nul = source.find('\0');
  if (nul != std::string_view::npos) {
    const auto line = 1 + std::count(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(nul), '\n');
    refuse(script_name, static_cast<int>(line),
           "the script holds a NUL character: save it as UTF-8 text, or as UTF-16 with its byte-order mark");
  }
  return source;
}

}  // namespace platform::script
