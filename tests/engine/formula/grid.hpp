// A small workbook for the tests: sheets of cells holding values or
// formulas (computed when read), defined names, hidden rows and a fixed
// clock. Cells are typed in as a user types them: "=..." is a formula,
// numeric text a number.
#pragma once

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/formula/formula.hpp"
#include "engine/formula/text.hpp"

namespace engine::formula {

// Readable values in test failures.
inline void PrintTo(const Value& value, std::ostream* out) {
  *out << (value.is_text() ? "\"" + value.text() + "\"" : value_to_text(value));
}

}  // namespace engine::formula

namespace engine::formula::testing {

// "B7" for ('B', 7); built by appending, which GCC 12's -Wrestrict accepts
// where "B" + std::to_string(7) draws its false warning (GCC bug 105329).
inline std::string cell_name(char column, int row) {
  std::string name(1, column);
  return name.append(std::to_string(row));
}

class Grid : public EvalContext {
 public:
  explicit Grid(std::vector<std::string> sheets = {"Sheet1"}) : sheets_(std::move(sheets)) {}

  // Stores what a user types into A1-addressed `cell` of sheet 0 (or the sheet named before "!").
  void set(const std::string& address, const std::string& typed) {
    const CellAddress cell = address_of(address);
    cells_.erase(key(cell));
    formulas_.erase(key(cell));
    if (typed.empty()) return;
    if (typed[0] == '=') {
      formulas_[key(cell)] = parse(typed);
    } else if (typed[0] == '\'') {
      cells_[key(cell)] = Value(typed.substr(1));
    } else if (auto n = number_from_text(typed); n && typed.find('%') == std::string::npos) {
      cells_[key(cell)] = Value(*n);
    } else if (typed == "TRUE" || typed == "FALSE") {
      cells_[key(cell)] = Value(typed == "TRUE");
    } else if (auto e = error_from_text(typed)) {
      cells_[key(cell)] = Value(*e);
    } else {
      cells_[key(cell)] = Value(typed);
    }
  }

  void define_name(const std::string& name, const std::string& refers_to) { names_[name] = parse(refers_to); }
  void hide_row(int row) { hidden_.insert(row); }
  void filter_out_row(int row) { filtered_.insert(row); }

  // The value of a formula evaluated in `address` (A1 of sheet 0 by default).
  Value eval(const std::string& formula, const std::string& address = "Z1000") const {
    return evaluate(*parse(formula), *this, address_of(address));
  }

  // The values of an array formula entered over rows x columns cells from `address`.
  std::vector<Value> eval_array(const std::string& formula, int rows, int columns,
                                const std::string& address = "Z1000") const {
    return evaluate_array(*parse(formula), *this, address_of(address), rows, columns);
  }

  CellAddress address_of(const std::string& address) const {
    const auto r = parse_reference(address);
    const SheetId sheet = r->sheet.empty() ? 0 : *sheet_by_name(r->sheet);
    return {sheet, r->first.row, r->first.column};
  }

  Value cell_value(const CellAddress& cell) const override {
    if (auto f = formulas_.find(key(cell)); f != formulas_.end()) return evaluate(*f->second, *this, cell);
    auto found = cells_.find(key(cell));
    return found == cells_.end() ? Value() : found->second;
  }

  void visit_cells(const Area& area, const CellVisitor& visit) const override {
    std::set<Key> keys;
    for (const auto& entry : cells_) keys.insert(entry.first);
    for (const auto& entry : formulas_) keys.insert(entry.first);
    for (const Key& k : keys) {
      const auto [sheet, row, column] = k;
      if (area.contains({sheet, row, column})) visit(row, column, cell_value({sheet, row, column}));
    }
  }

  std::optional<SheetId> sheet_by_name(std::string_view name) const override {
    for (std::size_t i = 0; i < sheets_.size(); ++i)
      if (equal_ignoring_case(sheets_[i], name)) return static_cast<SheetId>(i);
    return std::nullopt;
  }

  std::vector<SheetId> sheets_between(std::string_view first, std::string_view last) const override {
    auto a = sheet_by_name(first), b = sheet_by_name(last);
    if (!a || !b) return {};
    std::vector<SheetId> out;
    for (SheetId s = std::min(*a, *b); s <= std::max(*a, *b); ++s) out.push_back(s);
    return out;
  }

  std::shared_ptr<const Formula> name_definition(std::string_view name, SheetId) const override {
    for (const auto& [n, f] : names_)
      if (equal_ignoring_case(n, name)) return f;
    return nullptr;
  }

  bool row_hidden(SheetId, int row) const override { return hidden_.count(row) > 0 || filtered_.count(row) > 0; }
  bool row_filtered(SheetId, int row) const override { return filtered_.count(row) > 0; }

  bool holds_subtotal(const CellAddress& cell) const override {
    auto f = formulas_.find(key(cell));
    return f != formulas_.end() && calls_subtotal(*f->second);
  }

  double now() const override { return 37775.5; }  // 2003-06-03 12:00

 private:
  using Key = std::tuple<SheetId, int, int>;
  static Key key(const CellAddress& c) { return {c.sheet, c.row, c.column}; }

  std::vector<std::string> sheets_;
  std::map<Key, Value> cells_;
  std::map<Key, std::shared_ptr<const Formula>> formulas_;
  std::map<std::string, std::shared_ptr<const Formula>> names_;
  std::set<int> hidden_;
  std::set<int> filtered_;
};

}  // namespace engine::formula::testing
