#include "engine/app/custom_list_set.hpp"

#include <algorithm>

#include "engine/app/app_object.hpp"

namespace engine::app {

CustomListSet::CustomListSet(Language language)
    : lists_(texts(language).builtin_lists), builtin_count_(static_cast<int>(lists_.size())) {}

void CustomListSet::check_number(int number, const char* member) const {
  if (number < 1 || number > count()) raise_method_failed(member, "_Application");
}

const std::vector<std::string>& CustomListSet::contents(int number) const {
  check_number(number, "GetCustomListContents");
  return lists_[static_cast<std::size_t>(number - 1)];
}

int CustomListSet::number_of(const std::vector<std::string>& items) const {
  auto found = std::find(lists_.begin(), lists_.end(), items);
  return found == lists_.end() ? 0 : static_cast<int>(found - lists_.begin()) + 1;
}

int CustomListSet::add(std::vector<std::string> items) {
  std::erase_if(items, [](const std::string& item) { return item.empty(); });
  if (items.empty()) raise_method_failed("AddCustomList", "_Application");
  if (int existing = number_of(items)) return existing;
  lists_.push_back(std::move(items));
  return count();
}

void CustomListSet::remove(int number) {
  check_number(number, "DeleteCustomList");
  if (number <= builtin_count_) raise_method_failed("DeleteCustomList", "_Application");
  lists_.erase(lists_.begin() + (number - 1));
}

}  // namespace engine::app
