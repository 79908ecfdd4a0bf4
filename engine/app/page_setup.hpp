// PageSetup: a sheet's print settings. A protected sheet refuses changes.
#pragma once

#include <memory>

#include "engine/app/app_object.hpp"
#include "engine/app/worksheet_object.hpp"
#include "engine/model/page_setup.hpp"

namespace engine::app {

class PageSetup final : public AppObject {
 public:
  PageSetup(std::shared_ptr<Application> app, SheetRef sheet);

  const model::PageSetup& settings() const;
  // Applies `change` to a copy of the settings and stores it when Excel
  // would accept it (1004 otherwise, nothing changed).
  void change(const std::function<void(model::PageSetup&)>& change);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  SheetRef sheet_;
};

}  // namespace engine::app
