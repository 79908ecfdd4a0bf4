#include "player/shown_value.hpp"

#include "platform/com/convert.hpp"
#include "platform/com/dispatch.hpp"

namespace d72506::player {

namespace com = platform::com;

std::string shown_value(const com::Variant& value) {
  if (value.is_object()) {
    return value.object() ? "<" + value.object()->members().class_name() + ">" : "Nothing";
  }
  try {
    return com::cstr(value);
  } catch (const com::Error&) {
    return std::string("<") + com::type_name(value.type()) + ">";
  }
}

}  // namespace d72506::player
