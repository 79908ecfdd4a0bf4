// Copying a sheet (Worksheet.Copy): within its workbook or into another.
#include <unordered_map>

#include "engine/model/sheet_references.hpp"
#include "engine/model/text.hpp"
#include "engine/model/workbook.hpp"

namespace engine::model {

namespace {

// A cell format of another workbook as this one's pool holds it; the style
// it derives from comes along when the target lacks it, as Excel merges the
// styles of a copied sheet.
class FormatCarrier {
 public:
  FormatCarrier(const Workbook& from, Workbook& to) : from_(from), to_(to) {}

  FormatIndex operator()(FormatIndex index) {
    if (&from_ == &to_) return index;
    if (const auto known = carried_.find(index); known != carried_.end()) return known->second;
    const CellFormat& format = from_.formats().at(index);
    carry_style(format.style);
    const FormatIndex carried = to_.formats().intern(format);
    carried_.emplace(index, carried);
    return carried;
  }

 private:
  void carry_style(const std::string& name) {
    const Style* style = from_.styles().find(name);
    if (style == nullptr || to_.styles().find(name) != nullptr) return;
    to_.styles().add(style->name, style->format);
    to_.styles().update(style->name, style->format, style->includes);
  }

  const Workbook& from_;
  Workbook& to_;
  std::unordered_map<FormatIndex, FormatIndex> carried_;
};

Lines carry_lines(const Lines& source, FormatCarrier& carry) {
  Lines copy(source.count());
  source.for_each(0, source.count() - 1, [&](int index, LineInfo info) {
    if (info.format) info.format = carry(*info.format);
    copy.set(index, info);
  });
  return copy;
}

}  // namespace

Worksheet& Workbook::copy_sheet(const Worksheet& source, std::string name, std::optional<std::size_t> position) {
  Worksheet& copy = add_sheet(std::move(name), position);
  const std::string& from = source.name();
  const auto follow = [&](const std::shared_ptr<const formula::Formula>& f) {
    return rename_sheet_references(f, from, copy.name());
  };
  FormatCarrier carry(source.workbook(), *this);
  copy.cells_ = source.cells_;
  copy.cell_count_ = source.cell_count_;
  for (auto& [row, cells] : copy.cells_) {
    for (auto& [column, cell] : cells) {
      if (cell.formula) cell.formula = follow(cell.formula);
      cell.format = carry(cell.format);
    }
  }
  copy.rows_ = carry_lines(source.rows_, carry);
  copy.columns_ = carry_lines(source.columns_, carry);
  copy.visibility_ = source.visibility_;
  copy.summary_row_ = source.summary_row_;
  copy.summary_column_ = source.summary_column_;
  copy.standard_height_ = source.standard_height_;
  copy.standard_width_ = source.standard_width_;
  copy.merges_ = source.merges_;
  copy.arrays_ = source.arrays_;
  copy.notes_ = source.notes_;
  copy.shapes_ = source.shapes_;
  // A box linked to a cell of its own sheet is linked to the same cell of
  // the copy; a link to another sheet holds within the same workbook only.
  for (Shape& shape : copy.shapes_) {
    if (!shape.link) continue;
    shape.value = source.check_box_state(shape);
    if (shape.link->sheet == source.id()) shape.link->sheet = copy.id();
    else if (&source.workbook() != this) shape.link.reset();
  }
  copy.next_shape_id_ = source.next_shape_id_;
  copy.autofilter_ = source.autofilter_;
  copy.page_setup_ = source.page_setup_;
  copy.protection_ = source.protection_;
  copy.selection_ = source.selection_;
  copy.active_cell_ = source.active_cell_;
  copy_sheet_names(source, copy);
  rebuild_dependencies();
  mark_changed();
  return copy;
}

// The copy keeps the names local to its source. Workbook-level names that
// point into the source come too: as names local to the copy within the
// same workbook (Excel's way of keeping both sheets' formulas meaning what
// they meant), as workbook-level names in another workbook.
void Workbook::copy_sheet_names(const Worksheet& source, const Worksheet& copy) {
  const Workbook& from = source.workbook();
  const bool same_book = &from == this;
  std::vector<DefinedName> wanted;
  for (const DefinedName& n : from.names()) {
    const bool local = n.sheet == source.id();
    const bool points_in = !n.sheet && rename_sheet_references(n.refers_to, source.name(), copy.name()) != n.refers_to;
    if (!local && !points_in) continue;
    DefinedName carried = n;
    carried.refers_to = rename_sheet_references(n.refers_to, source.name(), copy.name());
    carried.sheet = (local || same_book) ? std::optional<SheetId>(copy.id()) : std::nullopt;
    wanted.push_back(std::move(carried));
  }
  for (DefinedName& n : wanted) {
    if (find_name(n.name, n.sheet) == nullptr) names_.push_back(std::move(n));
  }
}

}  // namespace engine::model
