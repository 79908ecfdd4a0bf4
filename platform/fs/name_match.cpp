#include "platform/fs/name_match.hpp"

#include <utf8proc.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace platform::fs {

namespace {

struct FreeDeleter {
  void operator()(utf8proc_uint8_t* p) const { std::free(p); }
};

// The code points of a name, for matching one character at a time; invalid
// UTF-8 bytes stand for themselves.
std::u32string code_points(std::string_view text) {
  std::u32string out;
  const auto* p = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
  auto left = static_cast<utf8proc_ssize_t>(text.size());
  while (left > 0) {
    utf8proc_int32_t cp = 0;
    utf8proc_ssize_t n = utf8proc_iterate(p, left, &cp);
    if (n <= 0) {
      cp = *p;
      n = 1;
    }
    out.push_back(static_cast<char32_t>(cp));
    p += n;
    left -= n;
  }
  return out;
}

bool only_stars(std::u32string_view rest) {
  return rest.find_first_not_of(U'*') == std::u32string_view::npos;
}

// Backtracking matcher over code points; patterns are short file names, so
// the simple recursion on '*' is cheap enough.
bool match_from(std::u32string_view pat, std::u32string_view name) {
  while (!pat.empty()) {
    const char32_t c = pat.front();
    if (c == U'*') {
      pat.remove_prefix(1);
      if (pat.empty()) return true;
      for (std::size_t i = 0; i <= name.size(); ++i)
        if (match_from(pat, name.substr(i))) return true;
      return false;
    }
    if (c == U'?') {
      if (name.empty() || name.front() == U'.') {
        pat.remove_prefix(1);  // matches nothing before a dot or at the end
        continue;
      }
      pat.remove_prefix(1);
      name.remove_prefix(1);
      continue;
    }
    if (c == U'.' && name.empty() && only_stars(pat.substr(1))) return true;
    if (name.empty() || name.front() != c) return false;
    pat.remove_prefix(1);
    name.remove_prefix(1);
  }
  return name.empty();
}

}  // namespace

std::string fold_name(std::string_view name) {
  utf8proc_uint8_t* folded = nullptr;
  const auto options = static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE | UTF8PROC_CASEFOLD);
  const utf8proc_ssize_t n = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(name.data()),
                                          static_cast<utf8proc_ssize_t>(name.size()), &folded, options);
  std::unique_ptr<utf8proc_uint8_t, FreeDeleter> owner(folded);
  if (n < 0) return std::string(name);
  return std::string(reinterpret_cast<const char*>(folded), static_cast<std::size_t>(n));
}

bool same_name(std::string_view a, std::string_view b) { return a == b || fold_name(a) == fold_name(b); }

bool has_wildcards(std::string_view pattern) { return pattern.find_first_of("*?") != std::string_view::npos; }

bool wildcard_match(std::string_view pattern, std::string_view name) {
  return match_from(code_points(fold_name(pattern)), code_points(fold_name(name)));
}

}  // namespace platform::fs
