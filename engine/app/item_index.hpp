// How Excel's collections read the argument of Item: a number is a 1-based
// position (Integer, Long, Double, a Date or Boolean as its number), text is
// a name matched without regard to case, an object gives its default value.
// A position out of range or a name not found raises 9.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/variant.hpp"

namespace engine::app {

struct ItemIndex {
  std::optional<std::int32_t> position;  // 1-based, as given
  std::string name;                      // when no position
};

// Raises 13 for what is neither a number nor text (Empty, Null, an array).
ItemIndex item_index(const platform::com::Variant& index);

// Names equal as Excel compares item names: case-insensitive over all of Unicode.
bool same_name(std::string_view a, std::string_view b);

// The 0-based item `index` designates among `count` items, whose names
// `name_of` gives; raises 9 when there is none.
std::size_t find_item(const platform::com::Variant& index, std::size_t count,
                      const std::function<std::string(std::size_t)>& name_of);

}  // namespace engine::app
