// The evaluator's inner types, shared by the function families: what an
// expression evaluates to before it lands in a cell, and the arguments a
// function receives (evaluated on demand, so IF evaluates one branch).
#pragma once

#include <array>
#include <optional>
#include <span>
#include <unordered_map>
#include <variant>
#include <vector>

#include <absl/container/inlined_vector.h>

#include "engine/formula/formula.hpp"

namespace engine::formula {

// An array constant or an array computed from one, row-major.
struct Array {
  int rows = 0;
  int columns = 0;
  std::vector<Value> cells;
  const Value& at(int row, int column) const { return cells[static_cast<std::size_t>(row * columns + column)]; }
};

// The element of `array` at (row, column) as operators and array formulas
// read it: a single row (column) repeats down (across), and beyond the
// array's own size the element is #N/A.
Value stretched_at(const Array& array, int row, int column);

// The areas of a reference. Nearly every reference is one area (a union
// gives more): held inline, evaluating a reference allocates nothing.
using AreaList = absl::InlinedVector<Area, 1>;

// A value, a reference (one area or several, as a union gives) or an array.
struct Operand {
  std::variant<Value, AreaList, Array> data;

  Operand(Value value) : data(std::move(value)) {}
  Operand(AreaList areas) : data(std::move(areas)) {}
  Operand(Array array) : data(std::move(array)) {}

  bool is_value() const { return std::holds_alternative<Value>(data); }
  bool is_reference() const { return std::holds_alternative<AreaList>(data); }
  bool is_array() const { return std::holds_alternative<Array>(data); }
  const Value& value() const { return std::get<Value>(data); }
  const AreaList& areas() const { return std::get<AreaList>(data); }
  const Array& array() const { return std::get<Array>(data); }
};

// Thrown by the coercions below and caught where the function was called:
// it becomes the function's result.
struct ErrorResult {
  CellError error;
};

[[noreturn]] inline void fail_with(CellError error) { throw ErrorResult{error}; }

class Evaluator {
 public:
  // `offset` moves the relative references of the origin's own formula
  // (see Formula::anchor); names and INDIRECT's text are read unmoved.
  Evaluator(const EvalContext& context, const CellAddress& origin, Offset offset = {})
      : context_(context), origin_(origin), offset_(offset) {}

  Operand evaluate(const Node& node);
  // A tree that is not the origin's formula (a name's definition, INDIRECT's
  // text): its references are read as written.
  Operand evaluate_unmoved(const Node& node);

  // A single value from an operand: a reference through implicit
  // intersection with the origin's row or column, an array by its first
  // element. Errors come back as values.
  Value scalar(const Operand& operand) const;

  const EvalContext& context() const { return context_; }
  const CellAddress& origin() const { return origin_; }

  // Evaluates the node as an array argument (SUMPRODUCT's): inside it,
  // operators take the references they meet as arrays of their cells
  // ("A1:A9>20" is nine comparisons) instead of one cell by intersection.
  Operand evaluate_as_array(const Node& node);
  bool in_array_argument() const { return array_depth_ > 0; }

 private:
  Operand reference(const Reference& reference) const;
  Operand name(const Node& node);
  Operand call(const Node& node);
  Operand lifted_call(const Node& node);
  Operand unary(const Node& node);
  Operand binary(const Node& node);
  Operand reference_operator(Operator op, const Operand& left, const Operand& right) const;
  // What an operator works on: in an array argument a reference becomes
  // the array of its cells, elsewhere it stays as it is.
  Operand operator_operand(Operand operand) const;

  const EvalContext& context_;
  CellAddress origin_;
  Offset offset_;
  int name_depth_ = 0;
  int array_depth_ = 0;
  // By definition, for this evaluation; apart inside array arguments, where
  // the same name gives an array where elsewhere it gives one cell.
  // Made when the first name is met: most formulas name nothing, and an
  // evaluator is made for every formula computed.
  std::optional<std::array<std::unordered_map<const Formula*, Operand>, 2>> name_values_;
};

// Excel's coercions of a single value; each throws ErrorResult on an error
// value or on text that does not convert.
double to_number(const Value& value);
std::string to_text(const Value& value);
bool to_boolean(const Value& value);

class Arguments {
 public:
  Arguments(Evaluator& evaluator, std::span<const Node> nodes) : evaluator_(evaluator), nodes_(nodes) {}

  std::size_t size() const { return nodes_.size(); }
  bool present(std::size_t i) const { return i < nodes_.size() && nodes_[i].kind != NodeKind::Missing; }

  Operand operand(std::size_t i);
  Operand array_operand(std::size_t i);  // see Evaluator::evaluate_as_array
  Value scalar(std::size_t i);  // errors come back as values; a missing argument is empty
  double number(std::size_t i) { return to_number(scalar(i)); }
  // An argument left out takes the fallback; one left empty ("LEFT(A1,)")
  // is 0, as Excel reads an empty argument.
  double number_or(std::size_t i, double fallback) { return i < size() ? number(i) : fallback; }
  std::string text(std::size_t i) { return to_text(scalar(i)); }
  bool boolean(std::size_t i) { return to_boolean(scalar(i)); }
  AreaList reference(std::size_t i);  // #VALUE! unless the argument is a reference

  const EvalContext& context() const { return evaluator_.context(); }
  const CellAddress& origin() const { return evaluator_.origin(); }

  // A tree that is not an argument (INDIRECT's text, once parsed), under
  // the same guard against names that refer to themselves.
  Operand evaluate(const Node& node) { return evaluator_.evaluate_unmoved(node); }

  // Whether the call stands inside an array argument, where ROW(A1:A3)
  // gives the three rows rather than the first.
  bool in_array_argument() const { return evaluator_.in_array_argument(); }
  Value scalar_of(const Operand& operand) const { return evaluator_.scalar(operand); }

 private:
  Evaluator& evaluator_;
  std::span<const Node> nodes_;
};

// How the aggregate functions take their arguments. Values typed directly
// as arguments count more generously than cells of a reference: SUM("3",
// TRUE) is 4, a cell holding "3" or TRUE is ignored.
enum class DirectValues {
  Convert,  // SUM, AVERAGE, MIN, MAX, PRODUCT: text must convert, else #VALUE!
  Count,    // COUNT: counts what converts, ignores the rest and errors
};

// The numbers an aggregate reads. Most read a handful of cells (a row's
// SUM, an AVERAGE of a few): held inline up to 16, they cost no allocation.
using Numbers = absl::InlinedVector<double, 16>;

// The numbers of arguments `from` to `to` (excluded; all when omitted) as
// the aggregate functions see them.
Numbers collect_numbers(Arguments& args, std::size_t from, DirectValues rule,
                                    std::size_t to = static_cast<std::size_t>(-1));

// The largest array a reference is read into (SUMPRODUCT, LOOKUP's vectors):
// four whole columns. Beyond it the function gives #NUM! rather than
// holding a whole sheet's values in memory.
inline constexpr double max_array_cells = 4.0 * 65536;

// An operand as an array: a reference's cells row by row (empty cells
// empty; one area only, else #VALUE!), a single value as a 1x1 array.
Array operand_array(const EvalContext& context, const Operand& operand);

// Calls visit(row, column, value) for each non-empty cell of the areas.
void visit_areas(const EvalContext& context, std::span<const Area> areas, const EvalContext::CellVisitor& visit);

// The number of cells the areas cover.
double area_cell_count(std::span<const Area> areas);

// How VALUE and DATEVALUE read dates: in English, a date without a year in
// the year of the workbook's clock.
DateReading reading_for(const Arguments& args);

// A whole number from an operand that must be one (an index, a count).
int to_index(double number);

}  // namespace engine::formula
