// The text of OpenDocument paragraphs as a cell, note or shape holds it:
// text:p and text:h paragraphs joined by a line feed, text:s as its count of
// spaces, text:tab as a tab, text:line-break as a line feed, and the text of
// spans, links and fields inside, their formatting dropped.
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <string>

namespace engine::ods {

// Excel 2003 keeps at most this many characters in a cell; longer text is
// cut there, so that a "text:c" of a billion spaces costs nothing.
inline constexpr std::size_t kMaxTextLength = 32767;

// The paragraphs among the children of `element`, joined by "\n", cut at
// kMaxTextLength bytes (never inside a UTF-8 sequence). `truncated` is set
// when text was cut.
std::string paragraphs_text(const xmlNode& element, bool* truncated = nullptr);

}  // namespace engine::ods
