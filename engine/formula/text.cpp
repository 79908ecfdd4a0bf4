#include "engine/formula/text.hpp"

#include <utf8proc.h>

#include <vector>

namespace engine::formula {
namespace {

std::u32string decode(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  auto bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  utf8proc_ssize_t left = static_cast<utf8proc_ssize_t>(text.size());
  while (left > 0) {
    utf8proc_int32_t code = 0;
    utf8proc_ssize_t used = utf8proc_iterate(bytes, left, &code);
    if (used <= 0) {  // an invalid byte stands for itself
      code = 0xFFFD;
      used = 1;
    }
    out.push_back(static_cast<char32_t>(code));
    bytes += used;
    left -= used;
  }
  return out;
}

std::string encode(std::u32string_view codes) {
  std::string out;
  out.reserve(codes.size());
  utf8proc_uint8_t buffer[4];
  for (char32_t code : codes) {
    const auto n = utf8proc_encode_char(static_cast<utf8proc_int32_t>(code), buffer);
    out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
  }
  return out;
}

template <typename Map>
std::string map_case(std::string_view text, Map map) {
  std::u32string codes = decode(text);
  for (char32_t& c : codes) c = static_cast<char32_t>(map(static_cast<utf8proc_int32_t>(c)));
  return encode(codes);
}

char32_t fold(char32_t c) {
  return static_cast<char32_t>(utf8proc_tolower(static_cast<utf8proc_int32_t>(c)));
}

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

std::string to_upper(std::string_view text) { return map_case(text, utf8proc_toupper); }
std::string to_lower(std::string_view text) { return map_case(text, utf8proc_tolower); }

int compare_ignoring_case(std::string_view a, std::string_view b) {
  const std::u32string x = decode(a), y = decode(b);
  const std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char32_t p = fold(x[i]), q = fold(y[i]);
    if (p != q) return p < q ? -1 : 1;
  }
  return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
}

bool equal_ignoring_case(std::string_view a, std::string_view b) { return compare_ignoring_case(a, b) == 0; }

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

std::size_t character_count(std::string_view text) {
  std::size_t count = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  return count;
}

std::string character_substring(std::string_view text, std::size_t start, std::size_t count) {
  const std::u32string codes = decode(text);
  if (start >= codes.size()) return {};
  return encode(std::u32string_view(codes).substr(start, count));
}

std::optional<std::size_t> character_find(std::string_view needle, std::string_view text, std::size_t start) {
  const std::u32string haystack = decode(text), wanted = decode(needle);
  if (start > haystack.size()) return std::nullopt;
  const auto at = haystack.find(wanted, start);
  if (at == std::u32string::npos) return std::nullopt;
  return at;
}

std::string to_proper(std::string_view text) {
  std::u32string codes = decode(text);
  bool after_letter = false;
  for (char32_t& c : codes) {
    const auto code = static_cast<utf8proc_int32_t>(c);
    const auto category = utf8proc_category(code);
    const bool letter = category >= UTF8PROC_CATEGORY_LU && category <= UTF8PROC_CATEGORY_LO;
    if (letter) c = static_cast<char32_t>(after_letter ? utf8proc_tolower(code) : utf8proc_toupper(code));
    after_letter = letter;
  }
  return encode(codes);
}

namespace {

// A pattern cut at its "*": runs of literal characters and "?" that must
// follow each other in order, anything between two runs.
using Run = std::vector<std::pair<char32_t, bool>>;  // character, literal

std::vector<Run> wildcard_runs(std::string_view pattern_text) {
  std::vector<Run> runs(1);
  const std::u32string raw = decode(pattern_text);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == U'~' && i + 1 < raw.size()) runs.back().emplace_back(fold(raw[++i]), true);
    else if (raw[i] == U'*') runs.emplace_back();
    else runs.back().emplace_back(fold(raw[i]), raw[i] != U'?');
  }
  return runs;
}

bool run_matches_at(const Run& run, const std::u32string& text, std::size_t at) {
  if (at + run.size() > text.size()) return false;
  for (std::size_t k = 0; k < run.size(); ++k)
    if (run[k].second && run[k].first != text[at + k]) return false;
  return true;
}

std::optional<std::size_t> find_run(const Run& run, const std::u32string& text, std::size_t from) {
  for (std::size_t at = from; at + run.size() <= text.size(); ++at)
    if (run_matches_at(run, text, at)) return at;
  return std::nullopt;
}

}  // namespace

// The leftmost match starts at the first run's leftmost place; each later
// run is then taken at its leftmost place after the one before. A later
// start could only leave less room, so no backtracking is needed and the
// cost stays linear in the text for each run.
std::optional<std::size_t> wildcard_find(std::string_view pattern, std::string_view subject, std::size_t start) {
  std::u32string text = decode(subject);
  for (char32_t& c : text) c = fold(c);
  if (start > text.size()) return std::nullopt;
  const std::vector<Run> runs = wildcard_runs(pattern);
  const auto first = find_run(runs.front(), text, start);
  if (!first) return std::nullopt;
  std::size_t next = *first + runs.front().size();
  for (std::size_t r = 1; r < runs.size(); ++r) {
    const auto at = find_run(runs[r], text, next);
    if (!at) return std::nullopt;
    next = *at + runs[r].size();
  }
  return first;
}

bool has_wildcards(std::string_view pattern) {
  return pattern.find_first_of("*?~") != std::string_view::npos;
}

// Iterative matching with one backtrack point for the last "*": linear
// memory and no recursion, whatever the pattern.
bool wildcard_match(std::string_view pattern_text, std::string_view subject) {
  struct Token {
    char32_t code;
    bool literal;
  };
  std::vector<Token> pattern;
  const std::u32string raw = decode(pattern_text);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == U'~' && i + 1 < raw.size()) {
      pattern.push_back({fold(raw[++i]), true});
    } else {
      pattern.push_back({fold(raw[i]), raw[i] != U'*' && raw[i] != U'?'});
    }
  }
  std::u32string text = decode(subject);
  for (char32_t& c : text) c = fold(c);

  std::size_t p = 0, t = 0, star = std::u32string::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && !pattern[p].literal && pattern[p].code == U'*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && (pattern[p].literal ? pattern[p].code == text[t] : pattern[p].code == U'?')) {
      ++p;
      ++t;
    } else if (star != std::u32string::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && !pattern[p].literal && pattern[p].code == U'*') ++p;
  return p == pattern.size();
}

}  // namespace engine::formula
