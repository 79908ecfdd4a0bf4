// A workbook: its ordered sheets, defined names, cell styles, format pool and
// palette, custom views, windows, protection, and where it came from. It is
// also what formulas are evaluated against, and it keeps their values
// current: a change recomputes the formulas that depend on it, and only those.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/formula/context.hpp"
#include "engine/formula/dependency_graph.hpp"
#include "engine/model/cell_format.hpp"
#include "engine/model/custom_view.hpp"
#include "engine/model/defined_name.hpp"
#include "engine/model/document_properties.hpp"
#include "engine/model/palette.hpp"
#include "engine/model/protection.hpp"
#include "engine/model/style.hpp"
#include "engine/model/window.hpp"
#include "engine/model/worksheet.hpp"

namespace engine::model {

inline constexpr std::size_t kMaxSheetNameLength = 31;

// Raises 1004 unless `name` is 1-31 characters without : \ / ? * [ ] and
// does not begin or end with an apostrophe.
void validate_sheet_name(std::string_view name);

class Workbook final : public formula::EvalContext {
 public:
  // A workbook with no sheets and one window.
  explicit Workbook(std::string name);
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;
  ~Workbook() override;

  // --- Identity and file -----------------------------------------------------
  const std::string& name() const { return name_; }
  void set_name(std::string name) { name_ = std::move(name); }
  // The full path of the file it was opened from or saved to; empty if new.
  const std::string& path() const { return path_; }
  void set_path(std::string path) { path_ = std::move(path); }
  bool is_template() const { return is_template_; }
  void set_template(bool is_template) { is_template_ = is_template; }
  bool saved() const { return saved_; }
  void set_saved(bool saved) { saved_ = saved; }
  // Any change to content, structure or formats clears the saved state.
  void mark_changed() { saved_ = false; }

  // --- Sheets ----------------------------------------------------------------
  std::size_t sheet_count() const { return sheets_.size(); }
  // 0-based; raises 9 out of range.
  Worksheet& sheet(std::size_t index) const;
  // Case-insensitive; null when absent.
  Worksheet* find_sheet(std::string_view name) const;
  Worksheet* find_sheet(SheetId id) const;
  std::optional<std::size_t> sheet_index(SheetId id) const;
  // Inserts before `position` (at the end when nothing); raises 1004 for an
  // invalid or taken name.
  Worksheet& add_sheet(std::string name, std::optional<std::size_t> position = std::nullopt);
  // Formulas that read the sheet are given #REF!; raises 1004 for the last sheet.
  void delete_sheet(SheetId id);
  // Copies `source`, a sheet of this workbook or of another, under `name`
  // before `position` (at the end when nothing): its cells and formats, rows
  // and columns, outline, merges, notes, shapes, page setup, protection and
  // the names local to it. The copy's references to its source are to
  // itself; raises 1004 as add_sheet does.
  Worksheet& copy_sheet(const Worksheet& source, std::string name, std::optional<std::size_t> position);
  // Formulas and names that read the sheet follow the new name.
  void rename_sheet(SheetId id, std::string name);
  void move_sheet(SheetId id, std::size_t position);
  // xlSheetVisible, xlSheetHidden or xlSheetVeryHidden; raises 1004 for
  // another value or for hiding the last visible sheet.
  void set_sheet_visibility(SheetId id, int visibility);

  // --- Names -----------------------------------------------------------------
  const std::vector<DefinedName>& names() const { return names_; }
  // Adds the name, or redefines the name of the same scope; raises 1004 for an
  // invalid name or malformed reference text.
  const DefinedName& add_name(std::string_view name, std::string_view refers_to,
                              std::optional<SheetId> sheet = std::nullopt);
  // Exact scope; null when absent.
  const DefinedName* find_name(std::string_view name, std::optional<SheetId> sheet = std::nullopt) const;
  void delete_name(std::string_view name, std::optional<SheetId> sheet = std::nullopt);

  // --- Formats and styles ------------------------------------------------------
  FormatPool& formats() { return formats_; }
  const FormatPool& formats() const { return formats_; }
  StyleTable& styles() { return styles_; }
  const StyleTable& styles() const { return styles_; }
  Palette& palette() { return palette_; }
  const Palette& palette() const { return palette_; }
  // Gives a style a new format and carries the change to every cell, row and
  // column of that style that did not set the changed part itself. Raises 9
  // when the style is absent, 1004 for a format Excel refuses.
  void change_style(std::string_view name, const CellFormat& format);
  // Deletes a style; its cells take the Normal style in the parts they did
  // not set themselves. Raises as StyleTable::remove does.
  void delete_style(std::string_view name);

  // --- Windows and views -------------------------------------------------------
  std::size_t window_count() const { return windows_.size(); }
  Window& window(std::size_t index);
  const Window& window(std::size_t index) const;
  // The caption shown: the set one, or the workbook's name (":n" with several windows).
  std::string window_caption(std::size_t index) const;
  Window& new_window();
  std::size_t active_window() const { return active_window_; }
  void activate_window(std::size_t index);
  // The active sheet of the active window; raises 91 when there are no sheets.
  Worksheet& active_sheet() const;
  void activate_sheet(SheetId id);

  const std::vector<CustomView>& custom_views() const { return views_; }
  // Records the current settings under `name` (replacing a view of that name).
  const CustomView& add_custom_view(std::string_view name, bool print_settings = true,
                                    bool row_column_settings = true);
  // Case-insensitive; null when absent.
  const CustomView* find_custom_view(std::string_view name) const;
  // Restores what the view recorded; raises 9 when absent.
  void show_custom_view(std::string_view name);
  void delete_custom_view(std::string_view name);
  // Adds a view as a file recorded it, replacing a view of the same name;
  // raises 1004 for an empty name or one over 255 characters.
  const CustomView& restore_custom_view(CustomView view);

  const WorkbookProtection& protection() const { return protection_; }
  // The summary (title, author...) the file keeps in its property sets.
  DocumentProperties& properties() { return properties_; }
  const DocumentProperties& properties() const { return properties_; }
  void protect(std::string_view password, bool structure = true, bool windows = false);
  void unprotect(std::string_view password);
  // Protection exactly as a file stored it, its password hash included.
  void restore_protection(const WorkbookProtection& protection);

  // --- Calculation -----------------------------------------------------------
  void recalculate_all();
  // While a file loads, cells and formulas go in without registering what
  // they read or recomputing anything: per-cell upkeep would cost more than
  // the load itself. end_bulk_load registers every formula and recalculates
  // the workbook once; until then values of formulas are not current.
  void begin_bulk_load() { bulk_load_ = true; }
  void end_bulk_load();
  // How many formula evaluations ran since the workbook was made.
  std::size_t evaluation_count() const { return evaluations_; }
  // Fixes what TODAY() and NOW() see; nothing returns to the clock.
  void set_now(std::optional<double> serial) { fixed_now_ = serial; }
  // The cells of the last recalculation that were left on a cycle.
  const std::vector<formula::CellAddress>& cyclic_cells() const { return cyclic_; }

  // formula::EvalContext
  formula::Value cell_value(const formula::CellAddress& cell) const override;
  void visit_cells(const formula::Area& area, const CellVisitor& visit) const override;
  std::optional<SheetId> sheet_by_name(std::string_view name) const override;
  std::vector<SheetId> sheets_between(std::string_view first, std::string_view last) const override;
  std::shared_ptr<const formula::Formula> name_definition(std::string_view name, SheetId sheet) const override;
  bool row_hidden(SheetId sheet, int row) const override;
  bool row_filtered(SheetId sheet, int row) const override;
  bool holds_subtotal(const formula::CellAddress& cell) const override;
  double now() const override;

 private:
  friend class Worksheet;

  // Called by sheets when cells changed: registers formulas and recomputes
  // the dependents of `changed`.
  void formula_set(const formula::CellAddress& cell);
  void share_typed_formula(Worksheet& sheet, int row, int column, Cell& cell);
  // An array formula was entered over `range` of a sheet: its top-left cell
  // reads what the formula reads, the others read the top-left cell, so
  // that the array is computed once and what reads any of its cells follows.
  void array_set(SheetId sheet, const CellRange& range);
  std::vector<formula::Area> cell_precedents(const Worksheet& sheet, int row, int column, const Cell& cell) const;
  void spread_array(Worksheet& sheet, const CellRange& range, const formula::Formula& formula);
  void formula_removed(const formula::CellAddress& cell);
  void cells_changed(std::span<const formula::CellAddress> changed);
  void run(const formula::Recalculation& recalculation);
  // After an edit that moves cells: every formula re-registered and recomputed.
  void rebuild_dependencies();
  // Applies `rewrite` to every formula of every sheet and every name.
  void rewrite_formulas(const std::function<std::shared_ptr<const formula::Formula>(
                            const std::shared_ptr<const formula::Formula>&, const std::string& own_sheet)>& rewrite);
  std::string scope_sheet_name(const DefinedName& name) const;
  void copy_sheet_names(const Worksheet& source, const Worksheet& copy);
  // Carries a style's change from `before` to `after` into the format pool.
  void restyle_formats(const Style& before, const Style& after);
  void check_structure_editable() const;

  std::string name_;
  std::string path_;
  bool is_template_ = false;
  bool saved_ = true;
  std::vector<std::unique_ptr<Worksheet>> sheets_;
  SheetId next_sheet_id_ = 1;
  std::vector<DefinedName> names_;
  FormatPool formats_;
  StyleTable styles_;
  Palette palette_;
  std::vector<Window> windows_;
  std::size_t active_window_ = 0;
  std::vector<CustomView> views_;
  WorkbookProtection protection_;
  DocumentProperties properties_;
  formula::DependencyGraph graph_;
  std::size_t evaluations_ = 0;
  std::optional<double> fixed_now_;
  std::vector<formula::CellAddress> cyclic_;
  bool bulk_load_ = false;
};

}  // namespace engine::model
