#include "engine/app/item_index.hpp"

#include "platform/com/convert.hpp"
#include "platform/com/dispatch.hpp"
#include "platform/com/text.hpp"

namespace engine::app {

namespace com = platform::com;

ItemIndex item_index(const com::Variant& index) {
  switch (index.type()) {
    case com::VarType::String:
      return {std::nullopt, index.string_value()};
    case com::VarType::Integer:
    case com::VarType::Long:
    case com::VarType::Double:
    case com::VarType::Date:
    case com::VarType::Boolean:
      return {com::clng(index), {}};
    case com::VarType::Object:
      return item_index(com::value_of(index));
    default:
      com::raise(com::err::TypeMismatch);
  }
}

bool same_name(std::string_view a, std::string_view b) { return com::lcase(a) == com::lcase(b); }

std::size_t find_item(const com::Variant& index, std::size_t count,
                      const std::function<std::string(std::size_t)>& name_of) {
  const ItemIndex wanted = item_index(index);
  if (wanted.position) {
    if (*wanted.position < 1 || static_cast<std::size_t>(*wanted.position) > count) {
      com::raise(com::err::SubscriptOutOfRange);
    }
    return static_cast<std::size_t>(*wanted.position - 1);
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (same_name(name_of(i), wanted.name)) return i;
  }
  com::raise(com::err::SubscriptOutOfRange);
}

}  // namespace engine::app
