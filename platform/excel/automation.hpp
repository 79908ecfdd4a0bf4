// Typed views of the Excel 2003 interfaces the module calls early-bound:
// _Application, Workbooks, _Workbook, Sheets, CommandBars and CommandBar.
// Each member calls the object through its dispatch identifier (by name for
// the Office command bars), so any application that answers to Excel's
// members can stand behind them. Everything else the module reaches late
// bound, through platform::com::Dispatch directly.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/dispatch.hpp"
#include "platform/com/variant.hpp"

namespace platform::excel {

using com::Variant;

// An object reference, possibly Nothing.
class Object {
 public:
  Object() = default;
  // A non-object raises 424 (Object required); Nothing gives an empty reference.
  explicit Object(const Variant& object);

  bool is_nothing() const { return !object_; }
  Variant variant() const { return Variant(object_); }
  // The object itself; Nothing raises 91.
  com::Dispatch& dispatch() const;

  // The same object reference (pointer identity), as the runtime's Is.
  friend bool same(const Object& a, const Object& b) { return a.object_ == b.object_; }

 protected:
  Variant get(com::DispId id, std::vector<Variant> args = {}) const;
  void put(com::DispId id, Variant value) const;
  Variant call(com::DispId id, std::vector<Variant> args = {}, std::vector<std::string_view> names = {}) const;
  Variant get(std::string_view name) const;
  void put(std::string_view name, Variant value) const;

 private:
  std::shared_ptr<com::Dispatch> object_;
};

class CommandBar : public Object {
 public:
  using Object::Object;
  bool Enabled() const;
  void Enabled(bool value) const;
  bool Visible() const;
  void Visible(bool value) const;
  std::int32_t Position() const;
  void Position(std::int32_t value) const;
};

class CommandBars : public Object {
 public:
  using Object::Object;
  std::int32_t Count() const;
  // By name ("Task Pane", any case) or by 1-based index.
  CommandBar Item(const Variant& index) const;
  CommandBar operator()(const Variant& index) const { return Item(index); }
};

class Sheets : public Object {
 public:
  using Object::Object;
  std::int32_t Count() const;
  // The sheet, reached late-bound afterwards.
  Variant Item(const Variant& index) const;
  Variant operator()(const Variant& index) const { return Item(index); }
};

class Workbook : public Object {
 public:
  using Object::Object;
  std::string Name() const;
  void Activate() const;
  // Omitted arguments stay omitted, as the module passes them.
  void Close(std::optional<bool> SaveChanges = std::nullopt) const;
  excel::Sheets Sheets() const;
  excel::Sheets Worksheets() const;
  Variant ActiveSheet() const;
  Variant Styles() const;
  Variant CustomViews() const;
};

class Workbooks : public Object {
 public:
  using Object::Object;
  std::int32_t Count() const;
  excel::Workbook Item(const Variant& index) const;
  excel::Workbook operator()(const Variant& index) const { return Item(index); }
  excel::Workbook Open(const std::string& Filename) const;
  // A new workbook; from a template when one is given.
  excel::Workbook Add(std::optional<Variant> Template = std::nullopt) const;
};

class Application : public Object {
 public:
  using Object::Object;
  // Excel's Application property (C++ keeps the class's own name for its constructors).
  excel::Application Application_() const;
  bool Visible() const;
  void Visible(bool value) const;
  void Quit() const;
  void DisplayFullScreen(bool value) const;
  excel::Workbooks Workbooks() const;
  excel::Workbook ActiveWorkbook() const;
  Variant ActiveSheet() const;
  Variant ActiveWindow() const;
  excel::Sheets Sheets() const;
  Variant Names() const;
  Variant Windows() const;
  Variant Selection() const;
  excel::CommandBars CommandBars() const;
  Variant Run(const std::string& Macro, std::vector<Variant> arguments = {}) const;
  std::string TemplatesPath() const;
  std::string ActivePrinter() const;
  bool ShowToolTips() const;
  void ShowToolTips(bool value) const;
  bool ShowStartupDialog() const;
  void ShowStartupDialog(bool value) const;
  std::int32_t DisplayCommentIndicator() const;
  void DisplayCommentIndicator(std::int32_t value) const;
  std::int32_t CustomListCount() const;
  std::int32_t GetCustomListNum(const Variant& ListArray) const;
  void DeleteCustomList(std::int32_t ListNum) const;
};

}  // namespace platform::excel
