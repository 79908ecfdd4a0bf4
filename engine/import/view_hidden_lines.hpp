// The rows and columns a custom view hides. Excel keeps them, in .xls and
// .xlsx alike, as hidden sheet-local names "Z_<view GUID>_.wvu.Rows" and
// "..._.wvu.Cols" over whole rows or columns; a reader hands every such name
// here and asks, per view and sheet, for the lines it hides.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/formula/formula.hpp"

namespace engine::import {

class ViewHiddenLines {
 public:
  // Reading never expands more hidden lines than this, whatever the names claim.
  static constexpr std::size_t kMaxHiddenLines = 1u << 24;

  static bool is_view_name(std::string_view name);
  // A view's GUID as the names spell it: "{6C6BA7B8-4EBB-...}" gives
  // "6C6BA7B8_4EBB_...", in capitals.
  static std::string name_id(std::string_view guid);

  // Takes a view name local to the sheet at `sheet`. Throws FileError when
  // the names together hide more lines than kMaxHiddenLines.
  void take_name(std::string_view name, std::size_t sheet, const formula::Formula& refers_to);

  // The lines the view `id` (as the names spell it) hides on a sheet, sorted.
  std::vector<int> rows(const std::string& id, std::size_t sheet) const;
  std::vector<int> columns(const std::string& id, std::size_t sheet) const;

 private:
  using Key = std::pair<std::string, std::size_t>;
  std::map<Key, std::vector<int>> rows_;
  std::map<Key, std::vector<int>> columns_;
  std::size_t expanded_ = 0;
};

}  // namespace engine::import
