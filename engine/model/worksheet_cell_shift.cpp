// Inserting and deleting part of a sheet's cells (Insert and Delete of a
// range with a shift): only the cells beside the range move, across its
// width (or height); the row and column records stay where they are.
#include <algorithm>
#include <tuple>

#include "engine/model/sheet_references.hpp"
#include "engine/model/workbook.hpp"
#include "engine/model/worksheet.hpp"
#include "platform/com/error.hpp"

namespace engine::model {

namespace {

[[noreturn]] void refuse(const char* description) {
  platform::com::raise(platform::com::err::ApplicationDefined, "Worksheet", description);
}

// Where each cell goes when `count` lines are inserted (deleted when
// negative) at `at` along one axis, within the band of lines across it.
class BandShift {
 public:
  BandShift(Span band, int at, int count, bool by_rows) : band_(band), at_(at), count_(count), by_rows_(by_rows) {}

  int limit() const { return by_rows_ ? kMaxRows : kMaxColumns; }

  // The cells that move or go: the band, from `at` to the sheet's edge.
  CellRange zone() const {
    return by_rows_ ? CellRange{at_, band_.first, kMaxRows - 1, band_.last}
                    : CellRange{band_.first, at_, band_.last, kMaxColumns - 1};
  }
  bool within_band(const CellRange& r) const {
    const int first = by_rows_ ? r.first_column : r.first_row;
    const int last = by_rows_ ? r.last_column : r.last_row;
    return first >= band_.first && last <= band_.last;
  }

  // Nothing for a deleted cell.
  std::optional<std::pair<int, int>> operator()(int row, int column) const {
    if (!zone().contains(row, column)) return std::pair{row, column};
    const auto to = shift_line(by_rows_ ? row : column, at_, count_);
    if (!to || *to >= limit()) return std::nullopt;
    return by_rows_ ? std::pair{*to, column} : std::pair{row, *to};
  }

  // A merged range inside the band, moved along; nothing once gone.
  std::optional<CellRange> operator()(CellRange r) const {
    if (!zone().intersects(r)) return r;
    int& first = by_rows_ ? r.first_row : r.first_column;
    int& last = by_rows_ ? r.last_row : r.last_column;
    const auto span = shift_span(Span{first, last}, at_, count_, limit());
    if (!span) return std::nullopt;
    first = span->first;
    last = span->last;
    return r;
  }

 private:
  Span band_;
  int at_;
  int count_;
  bool by_rows_;
};

}  // namespace

void Worksheet::insert_cells(const CellRange& range, bool by_rows) { shift_cells(range, by_rows, true); }
void Worksheet::delete_cells(const CellRange& range, bool by_rows) { shift_cells(range, by_rows, false); }

void Worksheet::shift_cells(const CellRange& range, bool by_rows, bool insert) {
  check_range(range);
  const int size = by_rows ? range.row_count() : range.column_count();
  const int at = by_rows ? range.first_row : range.first_column;
  if (by_rows ? range.whole_rows() : range.whole_columns()) return shift(at, insert ? size : -size, by_rows);
  const Span band = by_rows ? Span{range.first_column, range.last_column} : Span{range.first_row, range.last_row};
  const int count = insert ? size : -size;
  check_band_shift(band, at, count, by_rows);
  const std::string edited = name_;
  book_.rewrite_formulas([&](const std::shared_ptr<const formula::Formula>& f, const std::string& own_sheet) {
    return shift_band_references(f, own_sheet, edited, band, at, count, by_rows);
  });
  const BandShift move(band, at, count, by_rows);
  RowIndex::Rows cells;
  std::size_t kept = 0;
  for (auto& [row, line] : cells_) {
    for (auto& [column, cell] : line) {
      if (const auto to = move(row, column)) {
        cells[to->first].emplace(to->second, std::move(cell));
        ++kept;
      }
    }
  }
  cells_ = std::move(cells);
  cell_count_ = kept;
  std::vector<CellRange> merges;
  for (const CellRange& merged : merges_) {
    const auto to = move(merged);
    if (to && (to->row_count() > 1 || to->column_count() > 1)) merges.push_back(*to);
  }
  merges_ = std::move(merges);
  move_arrays([&move](const CellRange& held) { return move(held); });
  std::map<std::pair<int, int>, Note> notes;
  std::vector<int> dropped_shapes;
  for (auto& [cell, note] : notes_) {
    if (const auto to = move(cell.first, cell.second)) notes.emplace(*to, std::move(note));
    else dropped_shapes.push_back(note.shape_id);
  }
  notes_ = std::move(notes);
  std::erase_if(shapes_, [&](const Shape& shape) {
    return std::find(dropped_shapes.begin(), dropped_shapes.end(), shape.id) != dropped_shapes.end();
  });
  // A shape over deleted cells stays where the deletion closed up.
  for (Shape& shape : shapes_) {
    const auto to = move(shape.row, shape.column);
    if (to) std::tie(shape.row, shape.column) = *to;
    else (by_rows ? shape.row : shape.column) = at;
  }
  book_.mark_changed();
  book_.rebuild_dependencies();
}

void Worksheet::check_band_shift(Span band, int at, int count, bool by_rows) const {
  if (protection_.contents) refuse("Cells of a protected sheet cannot be inserted or deleted");
  const BandShift move(band, at, count, by_rows);
  if (count > 0) {
    const int limit = move.limit();
    const CellRange edge = by_rows ? CellRange{limit - count, band.first, limit - 1, band.last}
                                   : CellRange{band.first, limit - count, band.last, limit - 1};
    bool filled = false;
    for_each_cell(edge, [&filled](int, int, const Cell& cell) { filled = filled || cell.has_content(); });
    if (filled) refuse("To prevent possible loss of data, cells cannot be shifted off the worksheet");
  }
  for (const CellRange& merged : merges_) {
    if (merged.intersects(move.zone()) && !move.within_band(merged)) refuse("Cannot change part of a merged cell");
  }
  for (const CellRange& held : arrays_.overlapping(move.zone())) {
    if (!move.within_band(held)) refuse("You cannot change part of an array.");
  }
  check_arrays_move([&move](const CellRange& held) { return move(held); });
}

}  // namespace engine::model
