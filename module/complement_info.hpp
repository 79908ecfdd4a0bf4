// Lines of complementary information a check hands to the player, through
// the player's own ComplementInfo interface.
#pragma once

#include <cstdint>
#include <string>

#include "module/growable_list.hpp"
#include "platform/com/dispatch.hpp"

namespace d72506 {

class ComplementInfo final : public platform::com::Dispatch {
 public:
  const platform::com::MemberTable& members() const override;

  // The second argument is part of the player's interface and is ignored.
  void add(const std::string& soChaine, std::int32_t inutilise = 0);
  std::int32_t count() const;
  std::string item(std::int32_t noItem) const;

 private:
  GrowableList<std::string> lignes_;
};

}  // namespace d72506
