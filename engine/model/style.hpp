// Cell styles: the built-in ones every workbook has ("Normal", "Comma",
// "Currency", "Percent", ...) and user styles. A style is a format plus the
// list of the parts it includes; applying it changes only those parts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/cell_format.hpp"

namespace engine::model {

// Which parts of the format a style carries (Style.IncludeNumber ...).
struct StyleIncludes {
  bool number = true;
  bool font = true;
  bool alignment = true;
  bool border = true;
  bool patterns = true;
  bool protection = true;

  friend bool operator==(const StyleIncludes&, const StyleIncludes&) = default;
};

struct Style {
  std::string name;
  // BIFF built-in style identifier (0 Normal, 3 Comma, 4 Currency, 5 Percent,
  // 6 Comma [0], 7 Currency [0], 8 Hyperlink, 9 Followed Hyperlink), or
  // nothing for a user style.
  std::optional<int> builtin_id;
  CellFormat format;
  StyleIncludes includes;

  bool builtin() const { return builtin_id.has_value(); }
};

// Applies the included parts of `style` over `format`.
CellFormat apply_style(const Style& style, const CellFormat& format);

// A cell format of style `before` once the style became `after`: each part
// the style includes follows it unless the cell set that part itself. As in
// Excel's XF records, a part is the unit of overriding (the whole font, not
// its colour alone); a part still equal to the old style's counts as the
// style's.
CellFormat restyle(const CellFormat& format, const Style& before, const Style& after);

class StyleTable {
 public:
  // Starts with Excel 2003's built-in styles.
  StyleTable();

  std::size_t size() const { return styles_.size(); }
  const Style& at(std::size_t index) const;
  // Case-insensitive lookup; nothing when absent.
  const Style* find(std::string_view name) const;
  // Raises 9 when absent, as the Styles collection does.
  const Style& get(std::string_view name) const;

  // Adds a user style based on `based_on`'s format; raises 1004 when the name
  // is empty, too long or taken.
  const Style& add(std::string_view name, const CellFormat& based_on);
  // Replaces a style's format and includes (the name and kind stay).
  void update(std::string_view name, const CellFormat& format, const StyleIncludes& includes);
  // Built-in styles other than those a workbook may drop cannot be deleted.
  void remove(std::string_view name);

 private:
  Style* find_mutable(std::string_view name);
  std::vector<Style> styles_;
};

}  // namespace engine::model
