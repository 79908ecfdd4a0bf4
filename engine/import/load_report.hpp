// What a load left out of the model: a reader notes each kind of loss once
// per file (what was dropped, where in the file, why), so that a trainer can
// tell a workbook read whole from one read in part. Loading never fails for
// a loss noted here; damage that stops the load is a FileError instead.
//
// Thread rule: a report is filled by one loader on one thread.
#pragma once

#include <cstddef>
#include <string>
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
  // only count, so a file of a million alike losses stays one line.
  void note(std::string what, std::string where, std::string why);

  const std::vector<LoadNote>& notes() const { return notes_; }
  // How many losses were noted, repeats included.
  std::size_t count() const { return count_; }

 private:
  std::vector<LoadNote> notes_;
  std::size_t count_ = 0;
};

// Notes a loss in `report`; nothing without a report (the caller did not ask).
void report_loss(LoadReport* report, std::string what, std::string where, std::string why);

}  // namespace engine::import
