// Excel's custom lists (Tools > Options > Custom Lists): the four built-in
// lists of the interface language first, then the user's, numbered from 1 in
// that order. Built-in lists cannot be deleted; deleting a user list
// renumbers the ones after it.
#pragma once

#include <string>
#include <vector>

#include "engine/app/language.hpp"

namespace engine::app {

class CustomListSet {
 public:
  explicit CustomListSet(Language language);

  int count() const { return static_cast<int>(lists_.size()); }
  int builtin_count() const { return builtin_count_; }
  // The entries of list `number`; raises 1004 for a number outside 1..count.
  const std::vector<std::string>& contents(int number) const;
  // The number of the list whose entries are exactly `items`, in order; 0 when none.
  int number_of(const std::vector<std::string>& items) const;
  // Adds a user list (blank entries dropped) unless the same list exists
  // already; returns its number. Raises 1004 when no entry is left.
  int add(std::vector<std::string> items);
  // Raises 1004 for a built-in list or a number outside 1..count.
  void remove(int number);

 private:
  void check_number(int number, const char* member) const;

  std::vector<std::vector<std::string>> lists_;
  int builtin_count_;
};

}  // namespace engine::app
