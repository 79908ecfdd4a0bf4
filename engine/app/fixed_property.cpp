#include "engine/app/fixed_property.hpp"

#include <string>

#include "engine/app/app_object.hpp"
#include "platform/com/convert.hpp"

namespace engine::app {

namespace com = platform::com;

namespace {

bool same(const com::Variant& given, const com::Variant& kept) {
  const com::Variant v = com::value_of(given);
  switch (kept.type()) {
    case com::VarType::Boolean: return com::cbool(v) == kept.bool_value();
    case com::VarType::String: return com::cstr(v) == kept.string_value();
    default: return com::cdbl(v) == com::cdbl(kept);
  }
}

std::string shown(const com::Variant& kept) {
  if (kept.type() == com::VarType::Boolean) return kept.bool_value() ? "True" : "False";
  if (kept.type() == com::VarType::String) return "\"" + kept.string_value() + "\"";
  return com::cstr(kept);
}

}  // namespace

void keep_fixed(const com::Variant& given, const com::Variant& kept, const char* property, const char* owner) {
  if (same(given, kept)) return;
  raise_refused(std::string("Unable to set the ") + property + " property of the " + owner + " class: only " +
                shown(kept) + " is supported");
}

}  // namespace engine::app
