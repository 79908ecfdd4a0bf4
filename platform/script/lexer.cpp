#include "platform/script/lexer.hpp"

#include <charconv>
#include <cstdint>
#include <optional>

#include "platform/com/convert.hpp"
#include "platform/com/text.hpp"
#include "platform/script/script.hpp"

namespace platform::script {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) {
  // Bytes of multi-byte UTF-8 characters count as letters: names may be accented.
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
}
bool is_word_char(char c) { return is_letter(c) || is_digit(c) || c == '_'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// A physical line ending in " _" goes on with the next one.
bool continues(std::string_view trimmed) {
  return !trimmed.empty() && trimmed.back() == '_' && (trimmed.size() == 1 || is_blank(trimmed[trimmed.size() - 2]));
}

std::vector<SourceLine> logical_lines(std::string_view source, const std::string& script_name, bool host_lines) {
  std::vector<SourceLine> lines;
  std::optional<SourceLine> pending;
  int number = 0;
  while (!source.empty() || pending) {
    if (source.empty()) syntax_error(script_name, *pending, "line continuation at the end of the script", true);
    const std::size_t end = source.find_first_of("\r\n");
    std::string_view physical = trim(source.substr(0, end));
    ++number;
    source.remove_prefix(end == std::string_view::npos ? source.size() : end);
    if (source.substr(0, 2) == "\r\n") source.remove_prefix(2);
    else if (!source.empty()) source.remove_prefix(1);

    if (host_lines && !pending && !physical.empty() && physical.front() == '#') {
      lines.push_back({number, std::string(physical)});
      continue;
    }
    const bool more = continues(physical);
    if (more) physical = trim(physical.substr(0, physical.size() - 1));
    if (!pending) pending = SourceLine{number, {}};
    if (!pending->text.empty() && !physical.empty()) pending->text += ' ';
    pending->text += physical;
    if (more) continue;
    if (!pending->text.empty()) lines.push_back(std::move(*pending));
    pending.reset();
  }
  return lines;
}

class LineLexer {
 public:
  LineLexer(const std::string& script_name, const SourceLine& line, std::size_t index, std::vector<Token>& out)
      : name_(script_name), line_(line), index_(index), out_(out), text_(line.text) {}

  void run(bool host_lines) {
    if (host_lines && !text_.empty() && text_.front() == '#') {
      emit(TokenKind::Host, std::string(trim(text_.substr(1))));
    } else {
      while (next()) {
      }
    }
    emit(TokenKind::EndOfLine, {});
  }

 private:
  // Reads one token; false at the end of the line or at a comment.
  bool next() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
    spaced_ = pos_ > start;
    if (pos_ >= text_.size() || text_[pos_] == '\'') return false;
    const char c = text_[pos_];
    if (c == '"') return read_string();
    if (is_digit(c) || (c == '.' && starts_number())) return read_number();
    if (c == '#') return read_date();
    if (c == '&' && read_radix()) return true;
    if (is_letter(c)) return read_word();
    return read_symbol();
  }

  // ".5" is a number only where a value may start, not after "x" or ")".
  bool starts_number() const {
    if (pos_ + 1 >= text_.size() || !is_digit(text_[pos_ + 1])) return false;
    if (out_.empty() || out_.back().line != index_) return true;
    const Token& last = out_.back();
    return last.kind == TokenKind::Symbol && last.text != ")";
  }

  bool read_string() {
    std::string value;
    for (++pos_;; ++pos_) {
      if (pos_ >= text_.size()) fail("unterminated string");
      if (text_[pos_] == '"') {
        if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
          value += '"';
          ++pos_;
          continue;
        }
        ++pos_;
        break;
      }
      value += text_[pos_];
    }
    emit(TokenKind::String, std::move(value));
    return true;
  }

  bool read_number() {
    const std::size_t start = pos_;
    bool whole = true;
    while (pos_ < text_.size() && is_digit(text_[pos_])) ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '.') {
      whole = false;
      for (++pos_; pos_ < text_.size() && is_digit(text_[pos_]);) ++pos_;
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      std::size_t p = pos_ + 1;
      if (p < text_.size() && (text_[p] == '+' || text_[p] == '-')) ++p;
      if (p < text_.size() && is_digit(text_[p])) {
        whole = false;
        for (pos_ = p; pos_ < text_.size() && is_digit(text_[pos_]);) ++pos_;
      }
    }
    const std::string_view digits = text_.substr(start, pos_ - start);
    // A type suffix makes a Double ('#') or a Single ('!'), as the macro
    // recorder writes whole measures: AddShape(msoShapeRectangle, 27#, 90#, ...).
    const bool floating = pos_ < text_.size() && (text_[pos_] == '#' || text_[pos_] == '!');
    if (floating) ++pos_;
    if (pos_ < text_.size() && is_word_char(text_[pos_])) fail("malformed number '" + std::string(digits) + "'");
    emit(TokenKind::Number, std::string(digits), number_value(digits, whole && !floating));
    return true;
  }

  // Whole numbers are Integers or Longs when they fit, as the language types its literals.
  com::Variant number_value(std::string_view digits, bool whole) {
    if (whole) {
      std::int64_t n = 0;
      const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
      if (ec == std::errc() && end == digits.data() + digits.size()) {
        if (n <= INT16_MAX) return static_cast<std::int16_t>(n);
        if (n <= INT32_MAX) return static_cast<std::int32_t>(n);
      }
    }
    std::string normal(digits.front() == '.' ? "0" : "");
    normal += digits;
    double d = 0;
    const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), d);
    if (ec != std::errc() || end != normal.data() + normal.size()) fail("number out of range '" + normal + "'");
    return d;
  }

  // &H1F and &O17: up to 16 bits an Integer (so &HFFFF is -1), up to 32 bits a Long.
  bool read_radix() {
    if (pos_ + 2 >= text_.size()) return false;
    const char marker = text_[pos_ + 1];
    const int base = (marker == 'H' || marker == 'h') ? 16 : (marker == 'O' || marker == 'o') ? 8 : 0;
    if (base == 0) return false;
    std::uint64_t n = 0;
    const char* first = text_.data() + pos_ + 2;
    const auto [end, ec] = std::from_chars(first, text_.data() + text_.size(), n, base);
    if (end == first) return false;
    const std::size_t start = pos_;
    pos_ = static_cast<std::size_t>(end - text_.data());
    const std::string spelling(text_.substr(start, pos_ - start));
    if (ec != std::errc() || n > 0xFFFFFFFFu) fail("number out of range '" + spelling + "'");
    if (pos_ < text_.size() && is_word_char(text_[pos_])) fail("malformed number '" + spelling + "'");
    const com::Variant value = n <= 0xFFFF ? com::Variant(static_cast<std::int16_t>(n))
                                           : com::Variant(static_cast<std::int32_t>(n));
    emit(TokenKind::Number, spelling, value);
    return true;
  }

  bool read_date() {
    const std::size_t close = text_.find('#', pos_ + 1);
    if (close == std::string_view::npos) fail("unterminated date literal");
    const std::string_view inside = trim(text_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close + 1;
    emit(TokenKind::Date, std::string(inside), date_value(inside));
    return true;
  }

  // Date literals are written month first (#1/2/2003#) or as ISO dates,
  // whatever the regional settings: rewritten as ISO for CDate.
  com::Variant date_value(std::string_view inside) {
    const std::size_t blank = inside.find(' ');
    std::string_view date = inside.substr(0, blank);
    const std::string_view time = blank == std::string_view::npos ? std::string_view() : inside.substr(blank);
    std::string iso;
    if (date.find('/') != std::string_view::npos) {
      int parts[3] = {0, 0, 0};
      for (int& part : parts) {
        const auto [end, ec] = std::from_chars(date.data(), date.data() + date.size(), part);
        if (ec != std::errc() || end == date.data()) fail("invalid date literal #" + std::string(inside) + "#");
        date.remove_prefix(static_cast<std::size_t>(end - date.data()));
        if (!date.empty() && date.front() == '/' && &part != &parts[2]) date.remove_prefix(1);
      }
      if (!date.empty()) fail("invalid date literal #" + std::string(inside) + "#");
      int year = parts[2];
      if (year < 100) year += year < 30 ? 2000 : 1900;
      iso = std::to_string(year) + "-" + std::to_string(parts[0]) + "-" + std::to_string(parts[1]);
    } else {
      iso = std::string(date);
    }
    iso += time;
    try {
      return com::cdate(com::Variant(iso));
    } catch (const com::Error&) {
      fail("invalid date literal #" + std::string(inside) + "#");
    }
  }

  bool read_word() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && is_word_char(text_[pos_])) ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '$') ++pos_;  // Left$, Mid$: the String-typed spellings
    const std::string word(text_.substr(start, pos_ - start));
    if (statement_start() && com::lcase(word) == "rem") {
      pos_ = text_.size();
      return false;
    }
    emit(TokenKind::Word, word);
    return true;
  }

  bool statement_start() const {
    if (out_.empty() || out_.back().line != index_) return true;
    return out_.back().kind == TokenKind::Symbol && out_.back().text == ":";
  }

  bool read_symbol() {
    static constexpr std::string_view kPairs[] = {":=", "<>", "<=", ">="};
    for (std::string_view pair : kPairs) {
      if (text_.substr(pos_, 2) == pair) {
        pos_ += 2;
        emit(TokenKind::Symbol, std::string(pair));
        return true;
      }
    }
    static constexpr std::string_view kSingles = "(),.=<>+-*/\\^&:";
    const char c = text_[pos_];
    if (kSingles.find(c) == std::string_view::npos) fail("unexpected character '" + std::string(1, c) + "'");
    ++pos_;
    emit(TokenKind::Symbol, std::string(1, c));
    return true;
  }

  void emit(TokenKind kind, std::string text, com::Variant value = {}) {
    out_.push_back(Token{kind, std::move(text), std::move(value), index_, spaced_});
  }

  [[noreturn]] void fail(std::string problem) { syntax_error(name_, line_, std::move(problem)); }

  const std::string& name_;
  const SourceLine& line_;
  std::size_t index_;
  std::vector<Token>& out_;
  std::string_view text_;
  std::size_t pos_ = 0;
  bool spaced_ = false;
};

}  // namespace

std::vector<Token> tokenize(std::string_view source, const std::string& script_name, std::vector<SourceLine>& lines,
                            bool host_lines) {
  lines = logical_lines(source, script_name, host_lines);
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < lines.size(); ++i) LineLexer(script_name, lines[i], i, tokens).run(host_lines);
  tokens.push_back(Token{TokenKind::EndOfInput, {}, {}, lines.empty() ? 0 : lines.size() - 1, false});
  return tokens;
}

void syntax_error(const std::string& script_name, const SourceLine& line, std::string problem, bool incomplete) {
  throw ScriptError(ScriptError::Kind::Syntax, script_name, line.number, line.text, "syntax error: " + std::move(problem),
                    std::nullopt, incomplete);
}

}  // namespace platform::script
