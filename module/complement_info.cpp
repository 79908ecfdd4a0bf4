#include "module/complement_info.hpp"

#include "platform/com/members.hpp"

namespace d72506 {

using platform::com::Members;
using platform::com::MemberTable;

const MemberTable& ComplementInfo::members() const {
  static const MemberTable table = Members<ComplementInfo>("ComplementInfo")
                                       .method("add", 0x60030000, &ComplementInfo::add, {"soChaine", "lInutilise"})
                                       .method("count", 0x60030001, &ComplementInfo::count)
                                       .method("item", 0x60030002, &ComplementInfo::item, {"noItem"});
  return table;
}

void ComplementInfo::add(const std::string& soChaine, std::int32_t /*inutilise*/) { lignes_.add(soChaine); }

std::int32_t ComplementInfo::count() const { return lignes_.count(); }

std::string ComplementInfo::item(std::int32_t noItem) const { return lignes_.item(noItem); }

}  // namespace d72506
