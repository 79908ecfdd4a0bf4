#include "engine/import/load_report.hpp"

#include <algorithm>

namespace engine::import {

void LoadReport::note(std::string what, std::string where, std::string why) {
  ++count_;
  const bool known = std::any_of(notes_.begin(), notes_.end(), [&](const LoadNote& n) {
    return n.what == what && n.why == why;
  });
  if (!known) notes_.push_back({std::move(what), std::move(where), std::move(why)});
}

void report_loss(LoadReport* report, std::string what, std::string where, std::string why) {
  if (report) report->note(std::move(what), std::move(where), std::move(why));
}

}  // namespace engine::import
