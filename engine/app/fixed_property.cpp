#include "engine/app/fixed_property.hpp"

#include <string>

#include "engine/app/app_object.hpp"

namespace engine::app {

void keep_fixed(bool given, bool kept, const char* property, const char* owner) {
  if (given == kept) return;
  raise_refused(std::string("Unable to set the ") + property + " property of the " + owner +
                " class: only " + (kept ? "True" : "False") + " is supported");
}

}  // namespace engine::app
