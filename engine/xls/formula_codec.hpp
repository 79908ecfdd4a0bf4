// Excel's parsed-formula tokens (BIFF8 "ptgs", in reverse Polish order) to
// engine/formula's tree and back. Sheets and defined names are reached
// through the workbook's EXTERNSHEET and NAME tables, kept in a LinkTable.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "engine/formula/formula.hpp"
#include "engine/xls/record_reader.hpp"
#include "engine/xls/record_writer.hpp"

namespace engine::xls {

using Bytes = std::vector<std::uint8_t>;

struct SheetSpan {
  int first = 0;
  int last = 0;
  friend bool operator==(const SheetSpan&, const SheetSpan&) = default;
};

struct DefinedNameEntry {
  std::string name;
  int sheet = -1;  // the sheet (0-based) a local name belongs to; -1 for the workbook
};

// The tables formula tokens index into: the workbook's sheets, the
// EXTERNSHEET entries (each a span of this workbook's sheets, or nothing
// usable: a deleted sheet or another workbook), and the NAME records.
class LinkTable {
 public:
  explicit LinkTable(std::vector<std::string> sheet_names) : sheets_(std::move(sheet_names)) {}

  const std::vector<std::string>& sheets() const { return sheets_; }
  std::optional<int> sheet_index(std::string_view name) const;  // letter case ignored

  // EXTERNSHEET, as read or as built while writing.
  void add_entry(std::optional<SheetSpan> span) {
    entries_.push_back(span);
    addin_entries_.push_back(false);
  }
  std::optional<SheetSpan> entry(std::size_t index) const;
  const std::vector<std::optional<SheetSpan>>& entries() const { return entries_; }
  std::uint16_t entry_for(SheetSpan span);  // finds or appends

  // Functions of add-ins: the EXTERNNAME records of the add-in SUPBOOK,
  // reached by a tNameX token through an EXTERNSHEET entry of that SUPBOOK
  // and numbered from 1. Excel 2003 stores a call to a function it lacks
  // (an add-in's, or one of a later version) this way.
  void add_addin_entry();
  void add_addin_function(std::string name) { addin_functions_.push_back(std::move(name)); }
  const std::vector<std::string>& addin_functions() const { return addin_functions_; }
  bool is_addin_entry(std::size_t entry) const;
  // The function a tNameX token names; nothing unless it is an add-in's.
  std::optional<std::string_view> addin_function(std::size_t entry, std::size_t index) const;
  // The tNameX fields (EXTERNSHEET entry, 1-based name) for a call to
  // `name`, which joins the add-in functions when new (spelled as given).
  std::pair<std::uint16_t, std::uint16_t> addin_call(std::string_view name);

  // NAME records; tokens number them from 1.
  void add_name(DefinedNameEntry name) { names_.push_back(std::move(name)); }
  const std::vector<DefinedNameEntry>& names() const { return names_; }
  // The name a formula on `sheet` means by `name`: its sheet's own first,
  // then the workbook's; an unknown name is appended (Excel keeps a NAME
  // record for a name used before it is defined).
  std::uint16_t name_index(std::string_view name, int sheet);

 private:
  std::vector<std::string> sheets_;
  std::vector<std::optional<SheetSpan>> entries_;
  std::vector<bool> addin_entries_;  // beside entries_: whether each is the add-in SUPBOOK's
  std::vector<std::string> addin_functions_;
  std::vector<DefinedNameEntry> names_;
};

// Where a formula lives: relative tokens of shared formulas count from it.
struct FormulaOrigin {
  int sheet = -1;  // -1 for a defined name
  int row = 0;
  int column = 0;
};

// The token array (rgce) and the constant data behind it (rgcb: array
// constants), as FORMULA, NAME, SHRFMLA and ARRAY records store them.
struct EncodedFormula {
  Bytes tokens;
  Bytes extra;
};

// A cell formula is a value; a defined name's formula is a reference; an
// array formula (ARRAY record) is an array.
enum class FormulaRole { Cell, Name, Array };

// Throws FileError when the formula cannot be stored (a function Excel does
// not number, a text constant over 255 characters, a sheet not in the table).
EncodedFormula encode_formula(const formula::Formula& formula, LinkTable& links, const FormulaOrigin& origin,
                              FormulaRole role);
// The same, the tokens appended to `tokens` (a record being written) and
// the constants to `extra`. On failure `tokens` holds part of the formula.
void encode_formula(const formula::Formula& formula, LinkTable& links, const FormulaOrigin& origin, FormulaRole role,
                    RecordBody& tokens, RecordBody& extra);

// A formula given by the cell at (row, column): a shared formula (SHRFMLA)
// or an array formula (ARRAY) anchored there.
struct SharedFormulaRef {
  int row = 0;
  int column = 0;
};

using DecodedFormula = std::variant<std::shared_ptr<const formula::Formula>, SharedFormulaRef>;

// Throws FileError on damaged or unsupported tokens (data tables, names
// and references in other workbooks). With `anchor`, the formula is one a
// range of cells may share (formula::Formula::anchor).
DecodedFormula decode_formula(ByteSpan tokens, ByteSpan extra, const LinkTable& links, const FormulaOrigin& origin,
                              std::optional<formula::Anchor> anchor = std::nullopt);

// The tokens as the cell at `origin` reads them, each relative coordinate
// written as its distance from the cell: the cells of a range a formula
// was filled into give equal keys, whether each stores its own tokens or
// they share a SHRFMLA's. Nothing for tokens this does not walk (a
// reference to a shared formula, a data table, damage).
std::optional<std::string> sharing_key(ByteSpan tokens, ByteSpan extra, const FormulaOrigin& origin);

// Decodes the cell formulas of one sheet so that cells whose tokens give
// the same sharing key share one tree, anchored at the first of them:
// a filled column of 60,000 formulas is one tree, not 60,000, and is
// decoded once.
class SheetFormulas {
 public:
  DecodedFormula decode(ByteSpan tokens, ByteSpan extra, const LinkTable& links, const FormulaOrigin& origin);
  void clear() { trees_.clear(); }

 private:
  std::unordered_map<std::string, std::shared_ptr<const formula::Formula>> trees_;
};

}  // namespace engine::xls
