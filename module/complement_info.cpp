#include "module/complement_info.hpp"

namespace d72506 {

void ComplementInfo::add(const std::string& soChaine, std::int32_t /*inutilise*/) { lignes_.add(soChaine); }

std::int32_t ComplementInfo::count() const { return lignes_.count(); }

std::string ComplementInfo::item(std::int32_t noItem) const { return lignes_.item(noItem); }

}  // namespace d72506
