#include "engine/import/load_report.hpp"

namespace engine::import {

void LoadReport::note(std::string what, std::string where, std::string why) {
  ++count_;
  if (notes_.size() >= kMaxNotes || !kinds_.emplace(what, why).second) return;
  notes_.push_back({std::move(what), std::move(where), std::move(why)});
}

void report_loss(LoadReport* report, std::string what, std::string where, std::string why) {
  if (report) report->note(std::move(what), std::move(where), std::move(why));
}

}  // namespace engine::import
