// What a load left out of the model: a reader notes each kind of loss once
// per file (what was dropped, where in the file, why), so that a trainer can
// tell a workbook read whole from one read in part. Loading never fails for
// a loss noted here; damage that stops the load is a FileError instead.
//
// Thread rule: a report is filled by one loader on one thread.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace engine::import {

struct LoadNote {
  std::string what;   // "a formula", "a form control"
  std::string where;  // the part and place: "content.xml, sheet 'Trimestre 1', cell B7"
  std::string why;    // "uses the function ORG.OPENOFFICE.STYLE, which this application lacks"
};

class LoadReport {
 public:
  // Keeps the first note of each (what, why); later ones of the same kind
  // only count, so a file of a million alike losses stays one line. Past
  // kMaxNotes kinds (reasons that quote each formula differ) they only count.
  void note(std::string what, std::string where, std::string why);
  static constexpr std::size_t kMaxNotes = 1000;

  const std::vector<LoadNote>& notes() const { return notes_; }
  // How many losses were noted, repeats included.
  std::size_t count() const { return count_; }

 private:
  std::vector<LoadNote> notes_;
  std::set<std::pair<std::string, std::string>> kinds_;  // (what, why) already noted
  std::size_t count_ = 0;
};

// Notes a loss in `report`; nothing without a report (the caller did not ask).
void report_loss(LoadReport* report, std::string what, std::string where, std::string why);

}  // namespace engine::import
