// Custom views as Excel 2003 stores them: one USERBVIEW per view in the
// globals (name, window state, whether print and row/column settings are
// included), and in every sheet a USERSVIEWBEGIN ... USERSVIEWEND block per
// view (zoom, selection, and the print settings' own records). The rows and
// columns a view hides are hidden sheet-local names,
// "Z_<view's GUID>_.wvu.Rows" and "..._.wvu.Cols", over whole rows/columns.
#pragma once

#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "engine/formula/formula.hpp"
#include "engine/import/view_hidden_lines.hpp"
#include "engine/model/workbook.hpp"
#include "engine/xls/record_reader.hpp"
#include "engine/xls/record_writer.hpp"

namespace engine::xls {

// --- Writing ------------------------------------------------------------------

// A hidden name a view needs: its text, its sheet and what it covers.
struct ViewName {
  std::string name;
  int sheet = 0;
  std::shared_ptr<const formula::Formula> refers_to;
};

std::vector<ViewName> view_names(const model::Workbook& book);
void write_book_views(RecordWriter& out, const model::Workbook& book);
void write_sheet_views(RecordWriter& out, const model::Workbook& book, std::size_t sheet_index);

// --- Reading --------------------------------------------------------------------

class CustomViewReader {
 public:
  static bool is_view_name(std::string_view name);

  void take_book_view(const Record& record);  // USERBVIEW
  void take_tab_ids(const Record& record);    // RRTABID
  // A decoded "...wvu.Rows"/"...wvu.Cols" name of the sheet at `sheet`.
  void take_name(const std::string& name, int sheet, const formula::Formula& refers_to);
  // Takes the records of a view block in a sheet, from USERSVIEWBEGIN to
  // USERSVIEWEND; false for records outside a block.
  bool take_sheet_record(std::size_t sheet_index, const Record& record);
  // Closes a block its sheet left open.
  void end_sheet();
  // Adds the views to the workbook, whose sheets are read.
  void apply(model::Workbook& book) const;

 private:
  struct BookView {
    std::string id;  // the GUID as the hidden names write it
    std::string name;
    int tab = 0;
    bool print_settings = true;
    bool row_column_settings = true;
    int window_state = model::xl::Normal;
  };
  struct SheetBlock {
    std::size_t sheet = 0;
    int zoom = 100;
    model::CellRange selection = model::CellRange::cell(0, 0);
    std::pair<int, int> active_cell{0, 0};
    model::PageSetup page_setup;
  };
  model::CustomView view_of(const BookView& view, const model::Workbook& book) const;

  std::vector<BookView> views_;
  std::vector<int> tab_ids_;
  std::map<std::string, std::vector<SheetBlock>> blocks_;  // by view id
  import::ViewHiddenLines hidden_;
  std::optional<SheetBlock> open_;
  std::string open_id_;
};

}  // namespace engine::xls
