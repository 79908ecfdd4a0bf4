// A small Application for running scripts against: a sheet of cells, a
// Workbooks collection and a page setup, shaped like the spreadsheet's
// objects where the interpreter cares (default members, named and optional
// arguments, collections indexed through their default member, members that
// fail with the application's error 1004). It records the calls it gets.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/com/convert.hpp"
#include "platform/com/members.hpp"

namespace platform::script::testing {

using com::Variant;

class Sheet;

class Cell : public com::Dispatch {
 public:
  Cell(Sheet& sheet, std::string address) : sheet_(sheet), address_(std::move(address)) {}
  const com::MemberTable& members() const override;

  Variant value() const;
  void set_value(Variant v);
  std::string address() const { return address_; }

 private:
  Sheet& sheet_;
  std::string address_;
};

class PageSetup : public com::Dispatch {
 public:
  const com::MemberTable& members() const override {
    static const com::MemberTable table = com::Members<PageSetup>("PageSetup")
        .get("Orientation", 134, [](PageSetup& p) { return p.orientation; })
        .put("Orientation", 134, [](PageSetup& p, std::int32_t v) { p.orientation = v; })
        .get("CenterHorizontally", 1005, [](PageSetup& p) { return p.center; })
        .put("CenterHorizontally", 1005, [](PageSetup& p, bool v) { p.center = v; });
    return table;
  }
  std::int32_t orientation = 1;
  bool center = false;
};

class Sheet : public com::Dispatch {
 public:
  const com::MemberTable& members() const override {
    static const com::MemberTable table = com::Members<Sheet>("Worksheet")
        .get("Name", 110, [](Sheet& s) { return s.name; })
        .put("Name", 110, [](Sheet& s, std::string v) { s.name = std::move(v); })
        .get("Range", 197, &Sheet::range, {"Cell1", "Cell2"})
        .get("PageSetup", 998, [](Sheet& s) { return s.page_setup; });
    return table;
  }

  std::shared_ptr<Cell> range(std::string cell1, std::optional<std::string> cell2) {
    if (cell1.empty() || cell1 == "Z0") com::raise(com::err::ApplicationDefined);
    return std::make_shared<Cell>(*this, cell2 ? cell1 + ":" + *cell2 : cell1);
  }

  std::string name = "Trimestre 1";
  std::map<std::string, Variant> cells;
  std::shared_ptr<PageSetup> page_setup = std::make_shared<PageSetup>();
};

inline Variant Cell::value() const {
  const auto it = sheet_.cells.find(address_);
  return it == sheet_.cells.end() ? Variant() : it->second;
}
inline void Cell::set_value(Variant v) { sheet_.cells[address_] = std::move(v); }

inline const com::MemberTable& Cell::members() const {
  static const com::MemberTable table = com::Members<Cell>("Range")
      .get("Value", com::DISPID_VALUE, &Cell::value)
      .put("Value", com::DISPID_VALUE, &Cell::set_value)
      .get("Address", 236, &Cell::address)
      .method("ClearContents", 113, [](Cell& c) { c.set_value({}); });
  return table;
}

class Workbook : public com::Dispatch {
 public:
  explicit Workbook(std::string n) : name(std::move(n)) {}
  const com::MemberTable& members() const override {
    static const com::MemberTable table = com::Members<Workbook>("Workbook")
        .get("Name", 110, [](Workbook& w) { return w.name; })
        .method("Close", 277, &Workbook::close, {"SaveChanges", "Filename"})
        .method("SaveAs", 284, &Workbook::save_as, {"Filename", "FileFormat"});
    return table;
  }
  void close(std::optional<bool> save, std::optional<std::string> file) {
    log = "Close(" + std::string(save ? (*save ? "True" : "False") : "-") + "," + file.value_or("-") + ")";
  }
  void save_as(std::string file, std::optional<std::int32_t> format) {
    log = "SaveAs(" + file + "," + (format ? std::to_string(*format) : "-") + ")";
  }
  std::string name;
  std::string log;
};

class Workbooks : public com::Dispatch {
 public:
  const com::MemberTable& members() const override {
    static const com::MemberTable table = com::Members<Workbooks>("Workbooks")
        .get("Item", com::DISPID_VALUE, &Workbooks::item, {"Index"})
        .get("Count", 118, [](Workbooks& w) { return static_cast<std::int32_t>(w.books.size()); })
        .method("Add", 181, &Workbooks::add, {"Template"});
    return table;
  }
  std::shared_ptr<Workbook> item(Variant index) {
    if (index.type() == com::VarType::String) {
      for (auto& b : books)
        if (b->name == index.string_value()) return b;
      com::raise(com::err::SubscriptOutOfRange);
    }
    const std::int32_t i = com::clng(index);
    if (i < 1 || i > static_cast<std::int32_t>(books.size())) com::raise(com::err::SubscriptOutOfRange);
    return books[static_cast<std::size_t>(i - 1)];
  }
  std::shared_ptr<Workbook> add(std::optional<std::string> templ) {
    return books.emplace_back(std::make_shared<Workbook>(templ ? "From " + *templ : "Book" + std::to_string(books.size() + 1)));
  }
  std::vector<std::shared_ptr<Workbook>> books;
};

class Application : public com::Dispatch {
 public:
  const com::MemberTable& members() const override {
    static const com::MemberTable table = com::Members<Application>("Application")
        .get("Name", 110, [](Application&) { return std::string("Microsoft Excel"); })
        .get("ActiveSheet", 307, [](Application& a) { return a.sheet; })
        .get("Range", 197, [](Application& a, std::string c1, std::optional<std::string> c2) { return a.sheet->range(c1, c2); },
             {"Cell1", "Cell2"})
        .get("Workbooks", 572, [](Application& a) { return a.workbooks; })
        .get("DisplayAlerts", 343, [](Application& a) { return a.display_alerts; })
        .put("DisplayAlerts", 343, [](Application& a, bool v) { a.display_alerts = v; })
        .get("Left", 127, [](Application&) { return 42.0; })
        .method("AddCustomList", 780, &Application::add_custom_list, {"ListArray", "ByRow"})
        .method("Calculate", 279, [](Application& a) { ++a.calculations; });
    return table;
  }
  void add_custom_list(Variant list, std::optional<bool>) {
    if (!list.is_array()) com::raise(com::err::TypeMismatch);
    std::string joined;
    for (const Variant& v : list.array_value().elements()) {
      if (!joined.empty()) joined += '|';
      joined += com::cstr(v);
    }
    custom_lists.push_back(joined);
  }

  std::shared_ptr<Sheet> sheet = std::make_shared<Sheet>();
  std::shared_ptr<Workbooks> workbooks = std::make_shared<Workbooks>();
  bool display_alerts = true;
  int calculations = 0;
  std::vector<std::string> custom_lists;
};

}  // namespace platform::script::testing
