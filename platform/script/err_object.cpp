#include "platform/script/err_object.hpp"

#include "platform/com/members.hpp"

namespace platform::script {

void ErrObject::record(const com::Error& error) {
  number_ = error.number();
  description_ = error.description();
  source_ = error.source();
}

void ErrObject::clear() {
  number_ = 0;
  description_.clear();
  source_.clear();
}

void ErrObject::raise_error(std::int32_t number, const std::optional<std::string>& source,
                            const std::optional<std::string>& description) {
  com::raise(number, source.value_or(std::string()), description.value_or(std::string()));
}

const com::MemberTable& ErrObject::members() const {
  static const com::MemberTable table =
      com::Members<ErrObject>("ErrObject")
          .get("Number", com::DISPID_VALUE, &ErrObject::number)
          .put("Number", com::DISPID_VALUE, &ErrObject::set_number)
          .get("Description", 1, &ErrObject::description)
          .put("Description", 1, &ErrObject::set_description)
          .get("Source", 2, &ErrObject::source)
          .put("Source", 2, &ErrObject::set_source)
          .method("Clear", 3, &ErrObject::clear)
          .method("Raise", 4, &ErrObject::raise_error, {"Number", "Source", "Description"});
  return table;
}

}  // namespace platform::script
