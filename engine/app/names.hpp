// Names and Name: the defined names of a workbook, sorted by name as Excel
// lists them; RefersTo as Excel prints it ("='Trimestre 1'!$C$4:$C$8").
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/app/app_object.hpp"
#include "engine/model/workbook.hpp"
#include "platform/com/variant.hpp"

namespace engine::app {

class Name final : public AppObject {
 public:
  // The name `name` of scope `sheet` (workbook-level when nothing).
  Name(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book, std::string name,
       std::optional<model::SheetId> sheet);

  // A sheet-level name reads "Feuil1!Zone", as Excel gives it.
  std::string name() const;
  std::string refers_to() const;
  void set_refers_to(const platform::com::Variant& refers_to);
  bool visible() const;
  void remove();

 protected:
  const GuardedMembers& member_table() const override;

 private:
  // The model's name; raises 424 once it was deleted or its workbook closed.
  const model::DefinedName& defined() const;
  std::shared_ptr<model::Workbook> book_;
  std::string name_;
  std::optional<model::SheetId> sheet_;
};

class Names final : public AppObject {
 public:
  Names(std::shared_ptr<Application> app, std::shared_ptr<model::Workbook> book);

  std::int32_t count() const;
  // By position in Excel's order, or by name ("Zone", "Feuil1!Zone").
  std::shared_ptr<Name> item(const platform::com::Variant& index) const;
  // RefersTo is the reference text ("=Feuil1!$A$1:$B$4", the "=" optional)
  // or a Range. A name that exists is redefined.
  std::shared_ptr<Name> add(const std::string& name, const std::optional<platform::com::Variant>& refers_to,
                            const std::optional<std::string>& refers_to_r1c1 = std::nullopt);

 protected:
  const GuardedMembers& member_table() const override;

 private:
  model::Workbook& book() const;
  std::shared_ptr<model::Workbook> book_;
};

// The reference text of a RefersTo argument: text as it is, a Range as
// "='Sheet'!$A$1:$B$2".
std::string reference_text(const platform::com::Variant& refers_to);

}  // namespace engine::app
